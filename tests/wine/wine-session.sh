#!/usr/bin/env bash
# The Wine session of one test run, kept in the folder DIR: a throw-away prefix (see
# scripts/wine-prefix.sh) and a virtual screen of its own, so Wine never opens the developer's.
#   wine-session.sh start DIR               makes the prefix and starts the screen and the server
#   wine-session.sh run DIR PROGRAM [ARG..] runs a Windows program in the session (ctest's emulator)
#   wine-session.sh stop DIR                ends the session's programs and screen; removes DIR
# Listing a program's tests needs no screen: run makes the prefix when it is not there yet.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
. "$here/../../scripts/wine-prefix.sh"
. "$here/../../scripts/virtual-screen.sh"
action=$1 dir=$(realpath -m "$2")
shift 2
unset DISPLAY WAYLAND_DISPLAY

stop() {
    [ -d "$dir/prefix" ] && WINEPREFIX="$dir/prefix" wineserver -k >/dev/null 2>&1 || true
    [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
    rm -rf "$dir"
}

# Only one maker at a time: ctest may list two programs' tests at once.
ensure_prefix() {
    mkdir -p "$dir"
    exec 9>"$dir/lock"
    flock 9
    [ -f "$dir/prefix/ready" ] || { rm -rf "$dir/prefix" && make_wine_prefix "$dir/prefix" && touch "$dir/prefix/ready"; } || exit 1
    flock -u 9
    export WINEPREFIX="$dir/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

case $action in
start)
    # A session that ran tests before is never reused; a prefix made only to list tests is.
    [ -f "$dir/display" ] && stop
    ensure_prefix
    # A server that outlives each program, so that no test pays for its start; started here, it
    # holds none of ctest's pipes. The one that made the prefix ends first.
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    start_virtual_screen 1280x1024x24 >/dev/null
    echo "$xvfb_pid" >"$dir/xvfb.pid"
    echo "$virtual_display" >"$dir/display"
    ;;
run)
    ensure_prefix
    [ -f "$dir/display" ] && DISPLAY=$(cat "$dir/display") && export DISPLAY
    # Only in this prefix may the tests write in the Windows directory.
    export BRIVANA_THROWAWAY_WINEPREFIX=1
    # Wine's own processes inherit the program's output: a file, not ctest's pipe, which
    # ctest would wait on. Windows programs end their lines with CR LF.
    log=$(mktemp)
    # A start that fails before the program runs is no result of the program: Wine ending with
    # an error within a second, having printed nothing at all (every test program prints as it
    # starts). Seen once while the installer check ran beside the tests. It is said, and the
    # program started once more; a program that truly fails so fails again.
    for attempt in 1 2; do
        status=0
        started=$(date +%s%N)
        wine "$@" >"$log" 2>&1 </dev/null || status=$?
        took=$((($(date +%s%N) - started) / 1000000))
        [ "$attempt" -eq 1 ] && [ "$status" -ne 0 ] && [ ! -s "$log" ] && [ "$took" -lt 1000 ] || break
        echo "wine ended with status $status after $took ms before the program started; starting it again"
    done
    tr -d '\r' <"$log"
    rm -f "$log"
    exit "$status"
    ;;
stop) stop ;;
*) echo "usage: $0 start|run|stop DIR [PROGRAM ARGUMENTS...]" >&2; exit 2 ;;
esac
