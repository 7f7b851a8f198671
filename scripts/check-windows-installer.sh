#!/usr/bin/env bash
# Installs Brivana-<version>-setup.exe under Wine five times, each in a prefix made for it and
# thrown away after it, started as soon as the prefix is made (as on a computer just switched
# on, while Windows is still starting its own services): three times as a teacher does it, the
# installer's pages passed with Enter on a virtual screen, and twice silently (/S). Every install
# must leave the record service running. After the first of each kind it checks what a teacher
# gets (program, Start-menu entry, Apps & features entry, shared record folder), lets games
# save through the service while another program attacks its pipe, then, in a new session,
# uninstalls silently and checks that the service is gone and the record stays. Then once more
# with /RECORD=\\server\share\brivana: the setting reads back, games save on the server, and the
# uninstall leaves the server's record.
#   scripts/check-windows-installer.sh build-windows/Brivana-1.0.0-setup.exe \
#       build-windows/tests/windows/game_windows_tests.exe
set -euo pipefail
here=$(dirname "$0")
. "$here/wine-prefix.sh"
. "$here/virtual-screen.sh"
setup=$(realpath "$1")
windows_tests=$(realpath "$2")
work=$(mktemp -d)
prefix=
xvfb_pid=
session_pid=
# Lets the program that keeps the teacher's session open end: its input closes.
end_session() {
    [ -z "$session_pid" ] || kill "$session_pid" 2>/dev/null || true
    session_pid=
}
end_prefix() {
    [ -z "$prefix" ] && return 0
    end_session
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
    prefix=
    unset DISPLAY
}
trap 'end_prefix; [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY
how= n=0
fail() { echo "installer check, install $n ($how): $*" >&2; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivana'
# The 64-bit view, where the 64-bit installer writes: where Wine has its 32-bit half as well, a
# plain `wine reg` runs the 32-bit reg.exe, which looks in the 32-bit view.
reg_query() { wine reg query "$@" /reg:64; }
service_state() { wine sc query BrivanaKeeper 2>/dev/null | tr -d '\r' | awk '$1 == "STATE" { print $4 }'; }
# Wine's sc now and then answers nothing at all just after a program of the session ended: asked
# again for a few seconds until it names a state.
service_running() {
    local state
    for _ in $(seq 10); do
        state=$(service_state)
        [ -z "$state" ] || break
        sleep 1
    done
    [ "$state" = RUNNING ]
}

# The Linux process id of the game started in this run's prefix, if one runs.
game_process() {
    local pid
    for pid in $(pgrep -f 'Brivana\\brivana\.exe'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid" && return 0
    done
    return 1
}

# Passes the installer's pages with Enter, as a teacher accepting every default does, until it ends.
click_through() {
    local installer=$1 window
    for _ in $(seq 300); do
        kill -0 "$installer" 2>/dev/null || return 0
        for window in $(xdotool search --onlyvisible --name '^Installazione di Brivana' 2>/dev/null); do
            xdotool windowfocus --sync "$window" key Return 2>/dev/null || true
        done
        sleep 1
    done
    fail "the installer did not end within five minutes"
}

# Makes a fresh prefix and installs into it at once, "silent" or "interactive"; fails unless the
# service is running as the installer left it.
install_fresh() {
    how=$1 n=$((n + 1))
    end_prefix
    prefix="$work/prefix-$n"
    if [ "$how" = interactive ]; then
        [ -n "$xvfb_pid" ] || start_virtual_screen 1024x768x24
        export DISPLAY=$virtual_display
    fi
    make_wine_prefix "$prefix"
    if [ -n "${share:-}" ]; then
        mkdir -p "$prefix/dosdevices/unc/server"
        ln -s "$share" "$prefix/dosdevices/unc/server/share"
    fi
    # A program of the teacher's session stays open until the prefix ends (its input closes):
    # without one, Wine would end the session's services with the installer and start them
    # anew for the next look, which would hide a service the installer left stopped.
    rm -f "$work/session"
    mkfifo "$work/session"
    wine cmd /c pause <"$work/session" >/dev/null 2>&1 &
    sleep 3600 >"$work/session" &
    session_pid=$!
    if [ "$how" = interactive ]; then
        wine "$setup" >/dev/null 2>&1 &
        click_through $!
        # The game that the last page starts is closed, as the teacher closes it (Wine's taskkill
        # does not see it): the process of this prefix running it, once it has started.
        for _ in $(seq 20); do
            game_process >/dev/null && break
            sleep 1
        done
        [ -z "$(game_process)" ] || kill "$(game_process)"
    else
        wine "$setup" /S ${record_option:+"$record_option"}
    fi
    service_running || fail "the record service is not running"
}

# What the teacher finds, games saving through the service, and a silent uninstall.
check_installed() {
    local program="$prefix/drive_c/Program Files/Brivana" records="$prefix/drive_c/ProgramData/Brivana" games
    [ -f "$program/brivana.exe" ] || fail "no brivana.exe in Program Files"
    [ -f "$program/uninstall.exe" ] || fail "no uninstaller"
    [ -f "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Brivana.lnk" ] || fail "no Start-menu entry"
    [ -f "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Registro di Brivana.lnk" ] ||
        fail "no Start-menu entry for the register"
    [ -d "$records" ] || fail "no shared record folder"
    reg_query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller in Apps & features"

    games=$(BRIVANA_INSTALLED_SERVICE=1 wine "$windows_tests" --gtest_filter='InstalledRecordService.*' 2>&1 | tr -d '\r' || true)
    grep -q '^\[  PASSED  \] 1 test' <<<"$games" || { echo "$games" >&2; fail "games could not save through the service"; }
    [ "$(cat "$records/briv2s.txt")" = $'12\r' ] || fail "the service did not keep the games' record"
    # Uninstalled another day, in a session of its own. (Asked for a service this early in a
    # fresh prefix, Wine may have started a second service manager beside the first, each with
    # its own list of services, which Windows never does; a new session has one.)
    end_session
    wineserver -w
    wine "$program/uninstall.exe" /S
    # The uninstaller runs on from a copy of itself: the session ends once it has.
    wineserver -w
    [ -z "$(service_state)" ] || fail "the record service is still registered"
    [ ! -e "$program" ] || fail "Program Files\\Brivana is still there"
    ! reg_query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is still there"
    [ "$(cat "$records/briv2s.txt")" = $'12\r' ] || fail "the record did not survive the uninstall"
}

install_fresh interactive
check_installed
install_fresh silent
check_installed
install_fresh interactive
install_fresh silent
install_fresh interactive
# Installed for a lab: the record on the school's server, here a folder of this machine that the
# prefix reaches as \\server\share.
share="$work/share"
mkdir -p "$share/brivana"
record_option='/RECORD=\\server\share\brivana'
install_fresh silent
setting='HKLM\Software\Brivana'
folder=$(reg_query "$setting" /v RecordFolder 2>/dev/null | tr -d '\r' | awk '$1 == "RecordFolder" { print $3 }')
[ "$folder" = '\\server\share\brivana' ] || fail "/RECORD= kept '$folder' as the lab folder"
games=$(BRIVANA_INSTALLED_SERVICE=1 wine "$windows_tests" --gtest_filter='InstalledRecordService.*' 2>&1 | tr -d '\r' || true)
grep -q '^\[  PASSED  \] 1 test' <<<"$games" || { echo "$games" >&2; fail "games could not save on the server"; }
[ "$(cat "$share/brivana/briv2s.txt")" = $'12\r' ] || fail "the service did not keep the games' record on the server"
end_session
wineserver -w
wine "$prefix/drive_c/Program Files/Brivana/uninstall.exe" /S
wineserver -w
! reg_query "$setting" >/dev/null 2>&1 || fail "the lab setting is still there after the uninstall"
[ "$(cat "$share/brivana/briv2s.txt")" = $'12\r' ] || fail "the record on the server did not survive the uninstall"
echo "installer check: five installs in fresh prefixes, three as a teacher passes the pages and two silent," \
     "each started as soon as the prefix was made, all left the record service running; games save through it" \
     "while another program attacks its pipe; the uninstall removes the service and keeps the record;" \
     "with /RECORD= the service keeps the record on the server, which the uninstall keeps"
