#!/usr/bin/env bash
# fresh-install-check.sh DEB [ROOT]
# Installs the package on a fresh Debian 12 the way a user does, then starts
# it from its menu entry. ROOT (default /var/tmp/sfigmo-fresh) is a minimal
# Debian 12 made by debootstrap on first use and reused afterwards; delete it
# for a fresh one. Inside it:
#   apt-get install ./sfigmo_*.deb     (dependencies from Debian's mirror)
# then, as an ordinary user on an X display (Xvfb) with the simulated sensor,
#   gio launch /usr/share/applications/sfigmo.desktop
# which is how desktop menus start an entry. The program must reach
# "      ГОТОВО"; the screen is saved as fresh-install.xwd (and .png when
# ImageMagick's convert is at hand) in the current folder.
# Needs root, debootstrap and Debian's package mirror (SFIGMO_MIRROR). Exits
# with 77 when this machine cannot make or enter such a root (no debootstrap,
# no mounts in a container), so a test run can tell that from a failure.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 DEB [ROOT]" >&2; exit 2; }
deb=$(realpath "$1")
root=${2:-/var/tmp/sfigmo-fresh}
mirror=${SFIGMO_MIRROR:-http://deb.debian.org/debian}
out=$PWD
fail() { echo "FAIL: $*" >&2; exit 1; }
cannot() { echo "cannot check a fresh install here: $*" >&2; exit 77; }
[ "$(id -u)" -eq 0 ] || cannot "not root (debootstrap and chroot need it)"
[ -f "$deb" ] || fail "no package $deb"

if [ ! -x "$root/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null || apt-get install -y -q debootstrap >/dev/null ||
    cannot "debootstrap is not installable"
  echo "-- debootstrap bookworm into $root"
  rm -rf "$root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$out/debootstrap.log" 2>&1 ||
    { tail -n 5 "$out/debootstrap.log" >&2; rm -rf "$root"; cannot "debootstrap failed"; }
fi

mounted=()
cleanup() {
  chroot "$root" pkill -u sfigmo-user 2>/dev/null || true
  sleep 0.5
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
}
trap cleanup EXIT
for m in proc sys dev dev/pts; do
  mountpoint -q "$root/$m" && continue
  case $m in
    proc) mount -t proc proc "$root/proc" ;;
    *) mount --bind "/$m" "$root/$m" ;;
  esac || cannot "mounting /$m in the root was refused"
  mounted+=("$root/$m")
done
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# What a Debian 12 installation lists: the release, its updates and security.
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb ${SFIGMO_SECURITY_MIRROR:-http://deb.debian.org/debian-security} bookworm-security main
EOF

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

echo "-- apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -q >/dev/null
in_root sh -c "cd /tmp && apt-get install -y -q ./$(basename "$deb")" | tail -n 3
in_root dpkg -s sfigmo | grep -E '^(Status|Version):'
# A desktop session's pieces: an X server, the menu's launcher, a window tool.
in_root apt-get install -y -q --no-install-recommends xvfb libglib2.0-bin xdotool >/dev/null
id_line=$(in_root getent passwd sfigmo-user || true)
[ -n "$id_line" ] || in_root useradd -m -s /bin/bash sfigmo-user

echo "-- started from the menu entry as sfigmo-user"
rm -rf "$root/tmp/session"
mkdir -p "$root/tmp/session"
chmod 777 "$root/tmp/session"
cat >"$root/tmp/session/run.sh" <<'EOF'
set -u
cd "$HOME"
s=/tmp/session
mkdir -p "$s/fb" "$s/xdg" && chmod 700 "$s/xdg"
Xvfb :71 -screen 0 1280x800x24 -fbdir "$s/fb" -nolisten tcp >"$s/xvfb.log" 2>&1 &
/usr/lib/sfigmo/sensor-sim >"$s/sim.out" 2>"$s/sim.err" &
for _ in $(seq 100); do [ -s "$s/sim.out" ] && [ -e /tmp/.X11-unix/X71 ] && break; sleep 0.1; done
port=$(head -n 1 "$s/sim.out")
export DISPLAY=:71 XDG_RUNTIME_DIR=$s/xdg SENSORDRV_PORT=$port SFIGMO_ECHO_STATUS=1
gio launch /usr/share/applications/sfigmo.desktop >"$s/status.txt" 2>"$s/app.err"
for _ in $(seq 300); do grep -qx '      ГОТОВО' "$s/status.txt" && break; sleep 0.1; done
sleep 1
xdotool search --onlyvisible --name '.' getwindowname %@ >"$s/windows.txt" 2>/dev/null
EOF
in_root su - sfigmo-user -c "bash /tmp/session/run.sh" || true
s=$root/tmp/session
cp "$s/fb/Xvfb_screen0" "$out/fresh-install.xwd" 2>/dev/null || true
if command -v convert >/dev/null && [ -f "$out/fresh-install.xwd" ]; then
  convert "xwd:$out/fresh-install.xwd" "$out/fresh-install.png" 2>/dev/null || true
fi
echo "status lines:"; sed 's/^/  /' "$s/status.txt"
echo "windows:"; sed 's/^/  /' "$s/windows.txt" 2>/dev/null || true
echo "data folder:"; (cd "$root/home/sfigmo-user" && find .local/share/sfigmo -maxdepth 2 | sed 's/^/  /') || true
grep -qx '      ГОТОВО' "$s/status.txt" || { cat "$s/app.err" >&2; fail "the program did not reach ГОТОВО"; }
[ -d "$root/home/sfigmo-user/.local/share/sfigmo/DataMLT" ] || fail "no archive in the user's data folder"
echo "fresh install passed: $(basename "$deb")"
