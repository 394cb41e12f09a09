#!/usr/bin/env bash
# package_test.sh CPACK BUILD_DIR PROGRAM_DIR FILE...
# Builds the .deb, unpacks it into a scratch root, checks the layout, then
# starts the installed sfigmo offscreen against the installed sensor-sim with
# a fresh home: it must reach "      ГОТОВО" and write only under the user's
# data folder (~/.local/share/sfigmo/).
set -euo pipefail
cpack=$1 build=$2 progdir=$3
shift 3
expected=("$@")

work=$(mktemp -d)
sim_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  wait 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "-- building the package"
"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/sfigmo_*.deb)
[ -f "${debs[0]}" ] || fail "no sfigmo_*.deb in $work/out"
deb=${debs[0]}
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
depends=$(dpkg-deb --field "$deb" Depends)
for lib in libqt6widgets6 libftdi1 fonts-liberation2; do
  [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done

echo "-- layout"
root=$work/root
dpkg-deb -x "$deb" "$root"
prog=$root/usr/$progdir
for f in "${expected[@]}"; do
  [ -e "$prog/$f" ] || fail "missing $progdir/$f"
done
if [ -e "$prog/tervolan.qhc" ]; then
  # The help engine and the SQL driver plugin it loads.
  for lib in libqt6help6 libqt6sql6-sqlite; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
  done
fi
# A tree configured with the program folder at the prefix itself has no link.
if [[ ! $progdir =~ ^(\.|bin)/?$ ]]; then
  [ -x "$root/usr/bin/sfigmo" ] || fail "usr/bin/sfigmo does not lead to the program"
fi
for f in usr/share/applications/sfigmo.desktop usr/share/icons/hicolor/scalable/apps/sfigmo.svg \
  usr/share/icons/hicolor/48x48/apps/sfigmo.png usr/lib/udev/rules.d/60-sfigmo-sensor.rules; do
  [ -f "$root/$f" ] || fail "missing $f"
done
grep -qx 'Exec=sfigmo' "$root/usr/share/applications/sfigmo.desktop" || fail "desktop Exec"
grep -q 'ATTRS{idVendor}=="0403"' "$root/usr/lib/udev/rules.d/60-sfigmo-sensor.rules" ||
  fail "udev rule"
# Installed as root: the program folder must not be the user's data folder
# even where it could be written, so make it unwritable for others too.
chmod -R a-w "$root"

echo "-- installed program against the installed simulator"
home=$work/home run=$work/run cwd=$work/cwd
mkdir -p "$home" "$run" "$cwd"
chmod 700 "$run"
coproc SIM { exec "$prog/sensor-sim" 2>"$work/sim.err"; }
sim_pid=$SIM_PID
read -r -t 30 port <&"${SIM[0]}" || fail "sensor-sim gave no pseudo-terminal"
touch "$work/stamp"
sleep 0.1
# Started the way the menu entry starts it: through the link on PATH, which
# the program must resolve to find its libraries beside it.
launcher=$root/usr/bin/sfigmo
[ -e "$launcher" ] || launcher=$prog/sfigmo
(
  cd "$cwd"
  exec env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$run" LANG=C.UTF-8 \
    QT_QPA_PLATFORM=offscreen SENSORDRV_PORT="$port" SFIGMO_ECHO_STATUS=1 \
    ${ASAN_OPTIONS:+ASAN_OPTIONS=$ASAN_OPTIONS} ${LSAN_OPTIONS:+LSAN_OPTIONS=$LSAN_OPTIONS} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS=$UBSAN_OPTIONS} \
    "$launcher" >"$work/status.txt" 2>"$work/app.err"
) &
app_pid=$!
data=$home/.local/share/sfigmo
ready=0
for _ in $(seq 1 600); do
  if grep -qx '      ГОТОВО' "$work/status.txt" && [ -d "$data/DataMLT/DatInt" ]; then
    ready=1
    break
  fi
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if [ $ready -ne 1 ]; then
  echo "status lines:"; cat "$work/status.txt"
  echo "stderr:"; cat "$work/app.err"
  fail "the installed program did not reach ГОТОВО"
fi
kill "$app_pid" 2>/dev/null || true
wait "$app_pid" 2>/dev/null || true
app_pid=""

# Everything written since the start, outside the runtime folder and the
# libraries' caches, lies in the data folder.
stray=$(find "$root" "$home" "$cwd" -newer "$work/stamp" ! -type d -print |
  grep -v -e "^$data/" -e "^$home/.cache/" || true)
[ -z "$stray" ] || fail "written outside the data folder: $stray"
stray_dirs=$(find "$root" "$cwd" -newer "$work/stamp" -type d -print || true)
[ -z "$stray_dirs" ] || fail "folders changed outside the data folder: $stray_dirs"
echo "package test passed: $(basename "$deb")"
