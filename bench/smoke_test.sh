#!/usr/bin/env bash
# Runs the benchmark for one iteration of everything and checks that it ends well and
# prints every figure with a number, for the game and, where there is one, the baseline.
set -uo pipefail
driver=$1
output=$("$driver" --startups 1 --iterations 1 --idle-seconds 0.2 --idle-runs 1 --rounds 2)
status=$?
echo "$output"
[ "$status" -eq 0 ] || { echo "the benchmark failed with status $status" >&2; exit 1; }

number='[0-9]+(\.[0-9]+)?'
expect() {
    grep -Eq "^$1 +$number $2 \($number–$number\) +$3" <<<"$output" || { echo "missing or malformed: $1" >&2; exit 1; }
}
with_baseline="$number ms \($number–$number\) +$number"
expect 'start-up to first window \(name prompt\)' ms "$with_baseline"
expect 'start-up to play \(first question painted\)' ms "$with_baseline"
expect 'one question \(cmdNext_Click \+ repaint\)' ms '—'
expect 'one answer \(Enter \+ view updates\)' ms '—'
expect 'one answer, then brought up to date on screen' ms '—'
expect 'idle CPU in 0 s \(utime \+ stime\)' ms '—'
expect 'idle CPU in 0 s \(scheduler\)' ms '—'
expect 'peak memory \(VmHWM\)' MiB "$number MiB \($number–$number\) +$number"
