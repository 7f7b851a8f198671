#!/usr/bin/env bash
# Installs what is missing, builds, and lets ctest run every test: the release build, a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzzing run, and the game cross-built
# for Windows, whose tests and installer ctest runs under Wine (tests/wine/wine-session.sh).
# BRIVANA_SKIP_WINDOWS=1 skips the Windows stage on a developer's machine, saying so; CI=true
# always runs it. The last line gives the totals; the status is not zero when any test failed.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" googletest libgtest-dev clang libclang-rt-14-dev xvfb xauth \
    libbenchmark-dev libxcb1-dev pkg-config desktop-file-utils appstream "${REGISTER_CHECK_PACKAGES[@]}"

passed=0
failed=0
totals() {
    echo
    echo "Tests: $passed passed, $failed failed"
    [ "$failed" -eq 0 ] || exit 1
}
# A number from the head of ctest's JUnit report.
junit() { sed -n "s/^\t$1=\"\([0-9]*\)\"$/\1/p" "$2"; }
# Configures and builds a build directory, then adds what its ctest run counts to the totals.
build_and_test() {
    local dir=$1 report
    shift
    cmake -S . -B "$dir" -G Ninja -DBUILD_TESTING=ON "$@"
    cmake --build "$dir"
    report=$(realpath "$dir")/ctest-junit.xml
    rm -f "$report"
    local status=0 ran bad skipped
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j2 --output-junit "$report" || status=$?
    ran=$(junit tests "$report") bad=$(junit failures "$report") skipped=$(junit skipped "$report")
    [ "${ran:-0}" -gt 0 ] || { echo "ctest in $dir ran no test" >&2; failed=$((failed + 1)); totals; }
    passed=$((passed + ran - bad - skipped))
    failed=$((failed + bad))
    # ctest's own errors (a program whose tests it could not list) count as one failure.
    [ "$status" -eq 0 ] || [ "$bad" -gt 0 ] || { echo "ctest in $dir failed" >&2; failed=$((failed + 1)); }
    [ "$failed" -eq 0 ] || totals
}

echo "== Release build"
build_and_test build -DCMAKE_BUILD_TYPE=Release -DBRIVANA_WINDOW=ON

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build_and_test build-sanitize -DCMAKE_BUILD_TYPE=Debug -DBRIVANA_SANITIZE=ON -DBRIVANA_WINDOW=ON

echo "== Fuzzing the record reading and the text rules"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF \
    -DBRIVANA_WINDOW=OFF -DBRIVANA_FUZZ=ON
cmake --build build-fuzz --target fuzz_record_text
mkdir -p build-fuzz/corpus
if ./build-fuzz/tests/fuzz/fuzz_record_text -max_total_time="${BRIVANA_FUZZ_SECONDS:-15}" -seed=1 \
    build-fuzz/corpus tests/fuzz/seeds; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    totals
fi

echo "== Windows (mingw-w64 + Wine)"
if [ "${BRIVANA_SKIP_WINDOWS:-0}" = 1 ] && [ "${CI:-}" != true ]; then
    echo "SKIPPED because BRIVANA_SKIP_WINDOWS=1: the Windows build and its tests did not run."
else
    [ "${BRIVANA_SKIP_WINDOWS:-0}" = 1 ] && echo "BRIVANA_SKIP_WINDOWS=1 is ignored on CI."
    ensure_packages "${WINDOWS_PACKAGES[@]}"
    build_and_test build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
fi
totals
