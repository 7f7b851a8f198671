#!/usr/bin/env bash
# Runs every Qt benchmark twice, briefly, on a private virtual screen, and checks that each
# figure of the table was measured (the targets are the full run's business).
set -uo pipefail
. "$(dirname "$0")/../scripts/virtual-screen.sh"
start_virtual_screen 1280x1024x24 || exit 1
trap 'kill "$xvfb_pid"' EXIT
runtime=$(mktemp -d)
# On a real screen Qt asks D-Bus for the accessibility bus, and libdbus keeps a buffer of that
# for good: not a leak of ours, when built with LeakSanitizer.
echo 'leak:libdbus-1.so' >"$runtime/leaks"
output=$(DISPLAY=$virtual_display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime \
         LSAN_OPTIONS="suppressions=$runtime/leaks${LSAN_OPTIONS:+:$LSAN_OPTIONS}" "$1" --quick 2>&1)
status=$?
rm -rf "$runtime"
echo "$output"
[ "$status" -eq 0 ] || { echo "the benchmark failed with status $status" >&2; exit 1; }
for figure in 'start-up to first window' 'start-up to play' 'one question' 'one answer' 'idle CPU' 'peak memory'; do
    grep -Eq "^Qt: $figure.* [0-9.e+]+ (ms|MiB) \(" <<<"$output" || { echo "not measured: $figure" >&2; exit 1; }
done
if grep -E '^Qt: ' <<<"$output" | grep -Eq 'failed|not measured'; then exit 1; fi
