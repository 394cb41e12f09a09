#!/usr/bin/env bash
# Installs what is needed, builds, and runs sfigmo against the simulated
# sensor: sensor-sim (by default a healthy 72-beat pulse) on a
# pseudo-terminal, sfigmo pointed at it with SENSORDRV_PORT. The simulator
# stops when sfigmo closes. Arguments go to sensor-sim, e.g. --battery 7.4.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${SFIGMO_BUILD_DIR:-build}
bash scripts/install-deps.sh
bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSFIGMO_BUILD_TESTS=OFF
bin="$build/bin"

# The simulator prints its pseudo-terminal on the first line and ends when
# its stdin closes, so it cannot outlive this script.
coproc SIM { exec "$bin/sensor-sim" "$@"; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
read -r port <&"${SIM[0]}"
echo "sensor-sim on $port"

# The simulated GSM modem for "МобSMS": the port of telport.txt in the
# program folder is pointed at its pseudo-terminal; what it is sent lands in
# modem-sim.log.
[ -f "$bin/telport.txt" ] || cp app/messaging/telport.txt "$bin/telport.txt"
modem_out="$build/modem-sim.port"
: >"$modem_out"
"$bin/modem-sim" --telport "$bin/telport.txt" --log "$build/modem-sim.log" </dev/null >"$modem_out" &
modem_pid=$!
trap 'kill "$sim_pid" "$modem_pid" 2>/dev/null || true; wait "$sim_pid" "$modem_pid" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$modem_out" ] && break; sleep 0.1; done
echo "modem-sim on $(head -n 1 "$modem_out") (log: $build/modem-sim.log)"

launch=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # A machine without a desktop: the window still runs, on a virtual screen.
  echo "No display found: running on a virtual X screen (xvfb-run); close with Ctrl+C."
  launch=(xvfb-run -a -s "-screen 0 1280x1024x24")
fi
SENSORDRV_PORT="$port" "${launch[@]}" "$bin/sfigmo"
