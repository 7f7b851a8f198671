# Sourced by the scripts that show the game on a virtual screen.
# start_virtual_screen WIDTHxHEIGHTxDEPTH starts Xvfb on a display it picks itself, so parallel
# runs cannot collide, and waits until it is ready. Sets xvfb_pid and virtual_display (":N");
# the caller stops the server. Fails, with Xvfb's own words, when it does not start.
start_virtual_screen() {
    local ready log
    ready=$(mktemp)
    log=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$ready" 2>"$log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$ready" ] && break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        cat "$log" >&2
        echo "Xvfb did not start" >&2
        rm -f "$ready" "$log"
        return 1
    fi
    virtual_display=":$(head -n 1 "$ready")"
    rm -f "$ready" "$log"
}

# start_window_manager starts openbox on the virtual screen and waits until it manages windows:
# a window mapped while it is still starting up is never shown. Sets wm_pid; the caller stops it.
start_window_manager() {
    DISPLAY=$virtual_display openbox >/dev/null 2>&1 </dev/null &
    wm_pid=$!
    for _ in $(seq 100); do
        DISPLAY=$virtual_display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    echo "openbox did not start" >&2
    return 1
}
