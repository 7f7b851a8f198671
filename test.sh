#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the release build, a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" googletest libgtest-dev clang libclang-rt-14-dev xvfb xauth \
    desktop-file-utils appstream

passed=0
failed=0
# Runs ctest in a build directory and adds its counts to the totals.
run_ctest() {
    local dir=$1 log
    log=$(mktemp)
    set +e
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j2 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    set -e
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$line" ]; then
        echo "ctest in $dir ran no test" >&2
        exit 1
    fi
    local total fails
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$line")
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
    [ "$status" -eq 0 ] || { echo "$passed passed, $failed failed"; exit 1; }
}

echo "== Release build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DBRIVANA_WINDOW=ON
cmake --build build
run_ctest build

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON -DBRIVANA_SANITIZE=ON -DBRIVANA_WINDOW=ON
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest build-sanitize

echo "== Fuzzing the record reading and the text rules"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF \
    -DBRIVANA_WINDOW=OFF -DBRIVANA_FUZZ=ON
cmake --build build-fuzz --target fuzz_record_text
mkdir -p build-fuzz/corpus
./build-fuzz/tests/fuzz/fuzz_record_text -max_total_time="${BRIVANA_FUZZ_SECONDS:-15}" -seed=1 \
    build-fuzz/corpus tests/fuzz/seeds
passed=$((passed + 1))

echo
echo "All tests: $passed passed, $failed failed"
