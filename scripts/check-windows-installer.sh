#!/usr/bin/env bash
# Installs Brivana-<version>-setup.exe silently under Wine, in a prefix made for this run and
# thrown away after it, checks what a teacher gets (program, Start-menu entry, Apps & features
# entry, shared record folder), then uninstalls silently and checks that the record stays.
#   scripts/check-windows-installer.sh build-windows/Brivana-1.0.0-setup.exe
set -euo pipefail
. "$(dirname "$0")/wine-prefix.sh"
setup=$(realpath "$1")
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
[ -d "$records" ] || fail "no shared record folder"
wine reg query "$key" /v UninstallString >/dev/null 2>&1 || fail "no uninstaller in Apps & features"

printf '7\r\n' >"$records/briv2s.txt"
wine "$program/uninstall.exe" /S
wineserver -w
[ ! -e "$program" ] || fail "Program Files\\Brivana is still there"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is still there"
[ "$(cat "$records/briv2s.txt")" = $'7\r' ] || fail "the record did not survive the uninstall"
echo "installer check: installs and uninstalls silently, keeping the record"
