#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks in build-bench/ (Release), starts a private
# Xvfb and prints one table of the game's figures beside the baseline's.
# Options go to the driver: --startups N (15), --iterations N (1000), --idle-seconds S (10),
# --idle-runs N (3), --rounds N (20).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
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

# Xvfb picks a free display itself and writes its number to the descriptor it is given.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { cat "$scratch/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }

mkdir -m 700 "$scratch/runtime"
echo "Brivana benchmark, $(date '+%Y-%m-%d %H:%M %Z')"
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) CPUs, $(free -g | awk '/^Mem:/ {print $2}') GiB memory"
echo "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo '?'), Linux $(uname -r), Xvfb display :$(cat "$scratch/display")"
DISPLAY=":$(cat "$scratch/display")" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
    ./build-bench/bench/brivana-bench "$@"
