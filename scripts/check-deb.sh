#!/usr/bin/env bash
# Builds the Debian package and tries it on this machine: lintian, install with apt-get, start the
# installed game under its own virtual X server until its first window shows, remove the package
# and check that the shared record survives, then purge it. The machine is left as it was.
# Changes the machine (as root, or through sudo), so ./test.sh does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev lintian xvfb xdotool

readonly record_dir=/var/games/brivana
readonly game=/usr/games/brivana
readonly first_window="Gioca con il prodotto di numeri relativi"
readonly build_dir=build-deb

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt() { DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -y -q "$@"; }

die() {
    echo "check-deb: FAIL: $*" >&2
    exit 1
}
ok() { echo "check-deb: ok: $*"; }

package_status() { dpkg-query -W -f='${Status}' brivana 2>/dev/null || true; }

# Refuse to run where the outcome could not be told from what was there before.
[ -z "$(package_status)" ] || [ "$(package_status)" = "unknown ok not-installed" ] ||
    die "brivana is already known to dpkg ($(package_status)); purge it first"
[ ! -e "$record_dir" ] || die "$record_dir already exists; it would not be left as it was"

packages_before=$(dpkg-query -W -f='${Package}\n' | sort)
added_packages=()
game_pid=
xvfb_pid=
stop_game_and_display() {
    local pid
    for pid in $game_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    game_pid= xvfb_pid=
}
cleanup() {
    local status=$?
    stop_game_and_display
    if [ -n "$(package_status)" ] && [ "$(package_status)" != "unknown ok not-installed" ]; then
        apt purge brivana >/dev/null || true
    fi
    "${as_root[@]}" rm -rf "$record_dir"
    if [ ${#added_packages[@]} -gt 0 ]; then
        apt purge "${added_packages[@]}" >/dev/null || true
    fi
    exit "$status"
}
trap cleanup EXIT

echo "== Building the package"
# Debian's build flags, hardening included, given explicitly: CMake reads no CPPFLAGS, and reads
# the others only when it first configures a build folder.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" >/dev/null
cmake --build "$build_dir" -j2
rm -f "$build_dir"/brivana_*.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
debs=("$build_dir"/brivana_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || die "cpack made no single brivana_*.deb"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg-deb -f "$deb" Architecture)
[ "$deb" = "$build_dir/brivana_${version}_$arch.deb" ] || die "$deb is not named brivana_${version}_$arch.deb"
[ "$arch" = "$(dpkg --print-architecture)" ] || die "architecture $arch is not this machine's"
ok "built $deb"
dpkg-deb -f "$deb" Package Version Architecture Section Maintainer Depends

echo "== lintian"
lintian --fail-on error --display-info "$deb" 2>&1 | grep -v '^running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || die "lintian reports errors"
ok "lintian reports no errors"

echo "== Installing"
apt install "./$deb" >/dev/null
[ "$(package_status)" = "install ok installed" ] || die "brivana is not installed: $(package_status)"
mapfile -t added_packages < <(comm -13 <(echo "$packages_before") \
    <(dpkg-query -W -f='${Package}\n' | sort) | grep -vx brivana || true)
[ -x "$game" ] || die "$game is missing"
[ -f /usr/share/applications/org.example.Brivana.desktop ] || die "the desktop entry is missing"
owner_mode=$(stat -c '%U:%G %a' "$record_dir")
[ "$owner_mode" = "root:games 2775" ] || die "$record_dir is $owner_mode, not root:games 2775"
ok "installed; $record_dir is root:games 2775"

echo "== Starting the installed game under Xvfb"
game_log=$(mktemp)
start_virtual_screen 1024x768x24 || die "Xvfb did not start"
display=$virtual_display
DISPLAY=$display env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$game" >"$game_log" 2>&1 &
game_pid=$!
shown=no
for _ in $(seq 1 150); do
    if DISPLAY=$display xdotool search --onlyvisible --name "^$first_window\$" >/dev/null 2>&1; then
        shown=yes
        break
    fi
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.2
done
stop_game_and_display
[ "$shown" = yes ] || { cat "$game_log" >&2; die "no window \"$first_window\" within 30 seconds"; }
rm -f "$game_log"
ok "the installed game showed \"$first_window\""

echo "== Removing (the record stays)"
printf '17\r\n' | "${as_root[@]}" tee "$record_dir/briv2s.txt" >/dev/null
printf 'Prova\r\n' | "${as_root[@]}" tee "$record_dir/nbriv2s.txt" >/dev/null
record_before=$(cd "$record_dir" && md5sum briv2s.txt nbriv2s.txt)
apt remove brivana >/dev/null
[ "$(package_status)" = "deinstall ok config-files" ] || die "after remove brivana is $(package_status)"
[ ! -e "$game" ] || die "$game is still there after remove"
[ -d "$record_dir" ] || die "$record_dir did not survive the removal"
[ "$(stat -c '%U:%G %a' "$record_dir")" = "root:games 2775" ] || die "$record_dir changed owner or mode"
[ "$(cd "$record_dir" && md5sum briv2s.txt nbriv2s.txt)" = "$record_before" ] ||
    die "the record changed with the removal"
ok "removed; $record_dir and its record survived"

echo "== Purging (the record goes)"
apt purge brivana >/dev/null
status=$(package_status)
[ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] || die "after purge brivana is $status"
[ ! -e "$record_dir" ] || die "$record_dir is still there after purge"
ok "purged; $record_dir removed"

echo "check-deb: all checks passed"
