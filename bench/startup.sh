#!/usr/bin/env bash
# startup.sh BIN_DIR [RUNS]: milliseconds from starting sfigmo to its
# "      ГОТОВО" against sensor-sim, median of RUNS (default 5) starts, each
# with a fresh home. Without a display it runs itself on a virtual X screen,
# started once, so the screen's own start is not counted.
set -euo pipefail
bin=$(cd "$1" && pwd)
runs=${2:-5}
# A real X server, not the offscreen platform a test environment may set.
unset QT_QPA_PLATFORM
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$bin" "$runs"
fi

work=$(mktemp -d)
sim_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

coproc SIM { exec "$bin/sensor-sim"; }
sim_pid=$SIM_PID
read -r -t 30 port <&"${SIM[0]}"

times=()
for run in $(seq 1 "$runs"); do
  home=$work/home$run
  mkdir -p "$home"
  fifo=$work/status$run
  mkfifo "$fifo"
  start=$(date +%s%N)
  env HOME="$home" XDG_DATA_HOME="$home/.local/share" SENSORDRV_PORT="$port" \
    SFIGMO_ECHO_STATUS=1 "$bin/sfigmo" >"$fifo" 2>/dev/null &
  app_pid=$!
  exec {status}<"$fifo"
  ready=""
  while IFS= read -r -t 60 line <&"$status"; do
    if [ "$line" = "      ГОТОВО" ]; then
      ready=$(date +%s%N)
      break
    fi
  done
  kill "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
  exec {status}<&-
  [ -n "$ready" ] || { echo "no ГОТОВО" >&2; exit 1; }
  times+=($(((ready - start) / 1000000)))
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
