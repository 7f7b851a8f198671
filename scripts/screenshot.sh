#!/usr/bin/env bash
# Builds the game, plays the start of a game on a virtual screen and saves the window,
# mid-game: the Qt window as docs/screenshot.png, the Win32 window under Wine as
# docs/screenshot-windows.png. The record is kept in a temporary directory (a throw-away Wine
# prefix for Windows).
#   scripts/screenshot.sh [linux|windows]     (both when not told)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
. scripts/wine-prefix.sh
which=${1:-both}
ensure_packages "${SCREENSHOT_PACKAGES[@]}"
if [ "$which" != windows ]; then
    ensure_packages "${BUILD_PACKAGES[@]}"
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DBRIVANA_WINDOW=ON
    cmake --build build
fi
if [ "$which" != linux ]; then
    ensure_packages "${WINDOWS_PACKAGES[@]}"
    cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    cmake --build build-windows --target brivana
fi

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -d "$work/wine" ] && WINEPREFIX="$work/wine" wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_virtual_screen 1024x768x24
export DISPLAY=$virtual_display

# Waits for a window whose title matches this pattern and gives it the keyboard.
wait_for() {
    local id
    id=$(timeout 20 xdotool search --sync --name "$1" | head -n 1) || {
        echo "La finestra \"$1\" non è comparsa." >&2
        cat "$work/game.log" >&2
        exit 1
    }
    xdotool windowfocus --sync "$id" 2>/dev/null || true
    echo "$id"
}

# Plays the start of a game in the window of the command given, then saves it as $1.
play_and_save() {
    local picture=$1 window
    shift
    "$@" >"$work/game.log" 2>&1 &
    game_pid=$!
    wait_for "^Gioca con il prodotto di numeri relativi$" >/dev/null
    xdotool type --delay 60 "Giulia"
    xdotool key Return
    wait_for "^Sei pronto per il record" >/dev/null
    xdotool key Return
    window=$(wait_for "^Deroz Brivana$")
    sleep 1.5
    # One answer, evaluated: the verdict and the tallies show.
    xdotool type --delay 120 "12"
    xdotool key Return
    sleep 1
    mkdir -p docs
    import -window "$window" "$picture"
    kill "$game_pid" 2>/dev/null || true
    game_pid=
    echo "Salvato $picture"
}

if [ "$which" != windows ]; then
    play_and_save docs/screenshot.png env XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work" ./build/brivana
fi
if [ "$which" != linux ]; then
    make_wine_prefix "$work/wine"
    play_and_save docs/screenshot-windows.png wine build-windows/brivana.exe
fi
