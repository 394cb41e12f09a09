#!/usr/bin/env bash
# One whole-program run on a bare X server (no window manager, no
# compositor), as a user on the user guide's virtual screen would meet it:
# "Ручное", "Изме&р" against sensor-sim, "Про&в", then "Фай&л" → "Отк&р".
# Then the exposes X sends: a menu opened and closed over the window, and
# the window unmapped and mapped again. The window must look the same after
# each expose as before it, to the pixel: the archive list stays on the area
# and "Расче&т" stays disabled. Exit 0 when it does, 1 when not.
#
#   tests/ui/xvfb_replay_run.sh BUILD/bin [OUT-FOLDER] [WIDTHxHEIGHT]
#
# Needs Xvfb, xdotool and xwd. With XGRAB set to a program that saves the
# root window as a PNG (argument: file), each step is pictured in OUT-FOLDER.
set -euo pipefail

bin=$(cd "$1" && pwd)
out=${2:-$(mktemp -d)}
screen=${3:-1920x1080}
mkdir -p "$out"
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The server picks a free display itself and names it once it is ready, so
# runs side by side never share one.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# A portable install of its own: the program, its libraries and help, and an
# archive with one record.
for f in sfigmo libsensordrv.so libdspdf.so tervolan.qhc tervolan.qch telport.txt; do
  cp "$bin/$f" "$work/"
done
mkdir -p "$work/DataMLT/DatInt"
"$bin/pul-sample" "$work/DataMLT/26_12_07_09_05_03.pul" >/dev/null

"$bin/sensor-sim" >"$work/sim.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
SENSORDRV_PORT=$(head -n1 "$work/sim.out" | grep -o '/dev/pts/[0-9]*')
export SENSORDRV_PORT

# Under AddressSanitizer the X keyboard library's own strndup trips the
# strict string check before the program runs a line of its own.
ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0 \
  LANG=ru_RU.UTF-8 "$work/sfigmo" >"$out/sfigmo.log" 2>&1 &
pids+=($!)
win=$(timeout 60 xdotool search --sync --onlyvisible --classname sfigmo | head -n1 || true)
if [ -z "$win" ]; then
  echo "the program's window did not appear:"
  cat "$out/sfigmo.log"
  exit 1
fi
sleep 4  # the start-up check

eval "$(xdotool getwindowgeometry --shell "$win")"  # X, Y, WIDTH, HEIGHT
scale=$(awk -v w="$WIDTH" 'BEGIN { printf "%.4f", w / 641 }')
menu=$(awk -v h="$HEIGHT" -v k="$scale" 'BEGIN { printf "%d", h - int(333 * k + 0.5) }')
step=0
picture() {
  # The pointer off every control, so no hover highlight differs between looks.
  xdotool mousemove --sync $((X + 2)) $((Y + HEIGHT - 2))
  settle 5 || true
  step=$((step + 1))
  if [ -n "${XGRAB:-}" ]; then "$XGRAB" "$out/$(printf %02d "$step")-$1.png"; fi
  xwd -silent -id "$win" >"$out/$1.xwd"
}
# Clicks the design point (x, y) of the window's client area.
click() {
  local px py
  px=$(awk -v k="$scale" -v x="$1" -v o="$X" 'BEGIN { printf "%d", o + x * k }')
  py=$(awk -v k="$scale" -v y="$2" -v o="$Y" -v m="$menu" 'BEGIN { printf "%d", o + m + y * k }')
  xdotool mousemove --sync "$px" "$py" click 1
  sleep "${3:-0.5}"
}
# Visible top-level windows of the program: the main window, and a drop-down
# while one is open.
windows() { xdotool search --onlyvisible --classname sfigmo 2>/dev/null | wc -l; }
# Opens "Фай&л", the first title of the menu bar, and waits for its drop-down.
menu_file() {
  xdotool mousemove --sync $((X + menu / 2 + 8)) $((Y + menu / 2)) click 1
  for _ in $(seq 100); do
    [ "$(windows)" -ge 2 ] && { sleep 0.3; return 0; }
    sleep 0.1
  done
  echo "the drop-down of \"Фай&л\" did not open"
  exit 1
}
menu_closed() {
  for _ in $(seq 100); do
    [ "$(windows)" -le 1 ] && return 0
    sleep 0.1
  done
}
look() { xwd -silent -id "$win" >"$1"; }
# Waits until the window stops changing (two looks a second apart), at most
# $1 seconds: a loaded machine only makes the test slower, never wrong.
settle() {
  look "$work/a.xwd"
  for _ in $(seq "$1"); do
    sleep 1
    look "$work/b.xwd"
    cmp -s "$work/a.xwd" "$work/b.xwd" && return 0
    mv "$work/b.xwd" "$work/a.xwd"
  done
  return 1
}
# Waits until the window differs from picture $1, at most $2 seconds.
changed_from() {
  for _ in $(seq $(($2 * 5))); do
    look "$work/c.xwd"
    cmp -s "$out/$1.xwd" "$work/c.xwd" || return 0
    sleep 0.2
  done
  return 1
}

settle 30 || true  # the start-up check
picture start
click 456 296          # "Ручное"
settle 10 || true
# "Изме&р": a sweep of about one step per window pixel at the simulator's 50
# samples a second; it is over when the window then stops changing.
click 32 12 $((WIDTH / 50 + 4))
settle 120 || true
picture measured
click 88 12            # "Про&в"
changed_from measured 20 || true
settle 20 || true
picture checked
menu_file              # "Фай&л" → "Отк&р"
xdotool mousemove --sync $((X + menu / 2 + 8)) $((Y + menu + menu / 2 + 4)) click 1
menu_closed
changed_from checked 10 || true
settle 10 || true
picture archive-list
menu_file                 # a drop-down over the window ...
xdotool key Escape        # ... closed again: X exposes what it covered
menu_closed
settle 10 || true
picture after-menu
xdotool windowunmap --sync "$win"
xdotool windowmap --sync "$win"
settle 10 || true
picture after-remap
# Pixels of the archive list's green in the lower two thirds of a picture
# (the check frame and the other screens have none there).
list_pixels() {
  python3 - "$1" <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", d[:100])
size, width, height, order, line, colours = h[0], h[4], h[5], h[7], h[12], h[19]
start = size + 12 * colours
first = 0 if order == 0 else 1  # where blue, green, red begin in a pixel
green = bytes([0, 255, 0])
count = 0
for y in range(height // 3, height):
    row = d[start + y * line:start + y * line + width * 4]
    count += sum(1 for x in range(first, len(row), 4) if row[x:x + 3] == green)
print(count)
PY
}
status=0
for shown in archive-list after-menu after-remap; do
  if [ "$(list_pixels "$out/$shown.xwd")" -lt 1000 ]; then
    echo "the archive list is not on the area ($shown): pictures in $out"
    status=1
  fi
done
for after in after-menu after-remap; do
  if ! cmp -s "$out/archive-list.xwd" "$out/$after.xwd"; then
    echo "the window changed under an expose ($after): pictures in $out"
    status=1
  fi
done
[ $status -ne 0 ] || echo "every expose kept the screen"
exit $status
