#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in build-bench/ (Release), starts a private
# Xvfb and prints one table of the game's figures beside the baseline's.
# Options go to the driver: --startups N (15), --iterations N (1000), --idle-seconds S (10),
# --idle-runs N (3), --rounds N (20).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
ensure_packages "${BUILD_PACKAGES[@]}" xvfb xauth

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBRIVANA_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target brivana-bench

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

start_virtual_screen 1280x1024x24

mkdir -m 700 "$scratch/runtime"
echo "Brivana benchmark, $(date '+%Y-%m-%d %H:%M %Z')"
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) CPUs, $(free -g | awk '/^Mem:/ {print $2}') GiB memory"
echo "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo '?'), Linux $(uname -r), Xvfb display $virtual_display"
DISPLAY="$virtual_display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
    ./build-bench/bench/brivana-bench "$@"
