#!/usr/bin/env bash
# Installs Brivana-<version>-setup.exe silently under Wine, in a prefix made for this run and
# thrown away after it, checks what a teacher gets (program, Start-menu entry, Apps & features
# entry, shared record folder, the record service running), lets games save through the service
# while another program attacks its pipe, then uninstalls silently and checks that the service
# is gone and the record stays.
#   scripts/check-windows-installer.sh build-windows/Brivana-1.0.0-setup.exe \
#       build-windows/tests/windows/game_windows_tests.exe
set -euo pipefail
. "$(dirname "$0")/wine-prefix.sh"
setup=$(realpath "$1")
windows_tests=$(realpath "$2")
prefix=$(mktemp -d)
trap 'WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
unset DISPLAY WAYLAND_DISPLAY
make_wine_prefix "$prefix"
fail() { echo "installer check: $*" >&2; exit 1; }
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brivana'
program="$prefix/drive_c/Program Files/Brivana"
records="$prefix/drive_c/ProgramData/Brivana"

wine "$setup" /S
wineserver -w
[ -f "$program/brivana.exe" ] || fail "no brivana.exe in Program Files"
[ -f "$program/uninstall.exe" ] || fail "no uninstaller"
[ -f "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Brivana.lnk" ] || fail "no Start-menu entry"
[ -f "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Registro di Brivana.lnk" ] || fail "no Start-menu entry for the register"
[ -d "$records" ] || fail "no shared record folder"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller in Apps & features"
service_state() { wine sc query BrivanaKeeper 2>/dev/null | tr -d '\r' | awk '$1 == "STATE" { print $4 }'; }
[ "$(service_state)" = RUNNING ] || fail "the record service is not running"

games=$(BRIVANA_INSTALLED_SERVICE=1 wine "$windows_tests" --gtest_filter='InstalledRecordService.*' 2>&1 | tr -d '\r' || true)
grep -q '^\[  PASSED  \] 1 test' <<<"$games" || { echo "$games" >&2; fail "games could not save through the service"; }
[ "$(cat "$records/briv2s.txt")" = $'12\r' ] || fail "the service did not keep the games' record"
wine "$program/uninstall.exe" /S
wineserver -w
[ -z "$(service_state)" ] || fail "the record service is still registered"
[ ! -e "$program" ] || fail "Program Files\\Brivana is still there"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is still there"
[ "$(cat "$records/briv2s.txt")" = $'12\r' ] || fail "the record did not survive the uninstall"
echo "installer check: installs silently with the record service, games save through it while another" \
     "program attacks its pipe, uninstalls silently removing the service and keeping the record"
