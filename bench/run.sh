#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks (build-bench/; the Win32 game and a bare Win32
# window in build-bench-windows/), starts a private Xvfb with openbox and a private Wine, and
# prints one table of the game's figures beside the baselines'. Arguments go to Google
# Benchmark (e.g. --benchmark_out=FILE for every repetition as JSON).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
. scripts/wine-prefix.sh
ensure_packages "${BUILD_PACKAGES[@]}" libbenchmark-dev libxcb1-dev pkg-config xvfb xauth openbox \
    mingw-w64 g++-mingw-w64-x86-64-posix wine wine64

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBRIVANA_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target brivana-bench
cmake -S . -B build-bench-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBRIVANA_WINDOW=OFF -DBRIVANA_BENCH=ON >/dev/null
cmake --build build-bench-windows -j2 --target brivana brivana-bench-baseline

scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
    WINEPREFIX="$scratch/wine" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
start_virtual_screen 1280x1024x24
export DISPLAY=$virtual_display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox >/dev/null 2>&1 &
# A Wine prefix of its own, its server kept running so that no start-up pays for it.
make_wine_prefix "$scratch/wine"
wineserver -w
wineserver -p
# Wine's desktop process ends a second after the last program on it, and the next program then
# waits for a new one: a bare window left open for the whole run holds it, as Windows' own
# desktop is always there, so that no start-up pays for it by chance of the order.
wine build-bench-windows/bench/win32/brivana-bench-baseline.exe >/dev/null 2>&1 &
sleep 3

echo "Brivana benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) CPUs, $(free -g | awk '/^Mem:/ {print $2}') GiB;" \
     "Qt $(dpkg-query -W -f='${Version}' libqt6core6), Wine $(wine --version), Linux $(uname -r)"
./build-bench/bench/brivana-bench --win32 build-bench-windows/bench/win32/brivana-bench-baseline.exe \
    build-bench-windows/brivana.exe "$@"
