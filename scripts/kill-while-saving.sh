#!/usr/bin/env bash
# Kills the real game while it saves a record, again and again, and starts it again each time:
# the next start-up must always find the old pair of record files or the new one, never one
# file of each, never an empty one. The game runs under strace, which slows every rename and
# sync of the save so that the kill, at a random moment after the farewell, lands inside it.
# Usage: scripts/kill-while-saving.sh [ROUNDS] [GAME]   (defaults: 100, build/brivana)
# The record is kept in a temporary personal folder; the machine's shared folder must not exist.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
. scripts/virtual-screen.sh
ensure_packages xvfb xdotool openbox strace

rounds=${1:-100}
game=$(realpath "${2:-build/brivana}")
[ -x "$game" ] || { echo "no game at $game: build it first (./run.sh or cmake --build build)" >&2; exit 1; }
[ ! -e /var/games/brivana ] || { echo "/var/games/brivana exists: the game would keep the record there" >&2; exit 1; }

data=$(mktemp -d)
record_dir=$data/brivana
xvfb_pid= wm_pid= game_pid=
cleanup() {
    for pid in $game_pid $wm_pid $xvfb_pid; do kill -KILL "$pid" 2>/dev/null || true; done
    rm -rf "$data"
}
trap cleanup EXIT
start_virtual_screen 1024x768x24
DISPLAY=$virtual_display openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1  # openbox takes over the screen before the first window

showing() { DISPLAY=$virtual_display xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
await() {
    for _ in $(seq 1 600); do
        showing "$1" && return 0
        if ! kill -0 "$game_pid" 2>/dev/null; then
            local status=0
            wait "$game_pid" || status=$?
            echo "the game ended by itself (status $status) before showing \"$1\":" >&2
            cat "$data/game.log" >&2
            exit 1
        fi
        sleep 0.2
    done
    import -display "$virtual_display" -window root "${TMPDIR:-/tmp}/kill-while-saving-failed.png" || true
    echo "no window \"$1\"; shown: $(DISPLAY=$virtual_display xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr "\n" "/")" >&2
    exit 1
}
# press TITLE KEY...: brings the window to the front, then presses the keys (to whatever has the
# focus: a key sent to a window that closes on its press would never be released); type_in TITLE TEXT.
front() { DISPLAY=$virtual_display xdotool search --onlyvisible --name "$1" windowactivate --sync %1 >/dev/null 2>&1 || true; }
press() {
    front "$1"
    DISPLAY=$virtual_display xdotool key --delay 5 "${@:2}"
}
type_in() {
    front "$1"
    DISPLAY=$virtual_display xdotool type --delay 5 "$2"
}
# Clicks the Exit button, at its place in the window (512, 352; 121 by 73 pixels).
click_exit() {
    front "^Deroz Brivana\$"
    DISPLAY=$virtual_display xdotool search --onlyvisible --name "^Deroz Brivana\$" mousemove --window %1 572 388 click 1
}
# Starts the game (through the given command words), types the name and takes the greeting.
start_game() {
    local name=$1
    shift
    DISPLAY=$virtual_display XDG_DATA_HOME=$data "$@" "$game" >"$data/game.log" 2>&1 &
    game_pid=$!
    await "^Gioca con il prodotto di numeri relativi\$"
    type_in "^Gioca con il prodotto di numeri relativi\$" "$name"
    # A dialog may show before it takes keys: Return again until it is gone.
    for _ in $(seq 1 200); do
        if showing "^Gioca con il prodotto di numeri relativi\$"; then
            press "^Gioca con il prodotto di numeri relativi\$" Return
        elif showing "^Sei pronto per il record"; then
            press "^Sei pronto per il record" Return
        elif showing "^Brivana\$"; then
            # "E' record" at the first question: a score of 0 beats a record of -1.
            press "^Brivana\$" Return
        elif showing "^Deroz Brivana\$"; then
            return 0
        fi
        sleep 0.3
    done
    await "^Deroz Brivana\$"
}
pair() { printf '%s|%s' "$(od -An -c "$record_dir/briv2s.txt" | tr -s ' ')" \
    "$(od -An -c "$record_dir/nbriv2s.txt" | tr -s ' ')"; }
put_pair() { printf '%s\r\n' "$1" >"$record_dir/briv2s.txt"; printf '%s\r\n' "$2" >"$record_dir/nbriv2s.txt"; }
# Kills the game at once; under strace, the game first and then strace, so it cannot go on alone.
stop_game() {
    pkill -KILL -P "$game_pid" 2>/dev/null || true
    kill -KILL "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=
}

# A first start makes the personal folder.
start_game Prova
stop_game

kills=0 old=0 new=0 interrupted=0 torn=0
for round in $(seq 1 "$rounds"); do
    # A record of -1 is beaten by a score of 0, so every game that ends saves.
    put_pair -1 "Vecchio$round"
    old_pair=$(pair)
    start_game "Nuovo$round" strace -f -qq -o /dev/null \
        -e trace=rename,renameat,renameat2,fsync,fdatasync,unlink \
        -e inject=rename,renameat,renameat2:delay_enter=40000 -e inject=fsync,fdatasync:delay_enter=20000
    # Exit, the farewell, then the save: killed at a random moment of it.
    click_exit
    await "^Data "
    while showing "^Data "; do press "^Data " Return; done
    sleep "0.$(printf '%03d' $((RANDOM % 300)))"
    stop_game
    kills=$((kills + 1))
    [ ! -e "$record_dir/brivana.commit" ] || interrupted=$((interrupted + 1))

    # The next start-up repairs under the lock before it reads; then the pair must be whole.
    start_game "Dopo$round"
    stop_game
    now=$(pair)
    put_pair 0 "Nuovo$round"
    new_pair=$(pair)
    if [ "$now" = "$old_pair" ]; then
        old=$((old + 1))
        echo "round $round: old pair"
    elif [ "$now" = "$new_pair" ]; then
        new=$((new + 1))
        echo "round $round: new pair"
    else
        torn=$((torn + 1))
        echo "round $round: neither the old pair nor the new one: $now" >&2
    fi
    if compgen -G "$record_dir/brivana-*.tmp" >/dev/null || [ -e "$record_dir/brivana.commit" ]; then
        torn=$((torn + 1))
        echo "round $round: the start-up left the interrupted save's files: $(ls "$record_dir")" >&2
    fi
done
echo "kills: $kills; then old pair: $old, new pair: $new, wrong: $torn;" \
    "killed with the commit mark on the disk (between the first and the last rename): $interrupted"
[ "$torn" -eq 0 ]
