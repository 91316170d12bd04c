#!/usr/bin/env bash
# Set up, build and run every test: the unit and display tests (under Xvfb), the tests of
# the libraries that need no Qt built for big-endian s390x and run under qemu, the
# robustness checks (a long run of random turns, settings writes killed at random moments,
# a puzzle session under valgrind), the built program driven end to end (tests/e2e), the
# Debian package (built and checked, not installed, and built twice more from two clones of
# the last commit to see that it is reproducible), the same tests built with address and
# undefined-behaviour sanitizers, and the fuzzers for a bounded time. Warnings are errors
# in every build here. Exits non-zero on the first failing stage.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)

# A compiler cache keyed on paths relative to this checkout, so that a second run, or a
# run in another clone on the same machine, compiles only what changed.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# Runs ctest with one more run of a failing case (now and then a test program cannot
# connect to the busy X server; one that fails twice fails the stage), then names every
# case that failed once, so that flaky tests show instead of hiding behind the retry.
ctest_with_retry() {
    local log status retried
    log=$(mktemp)
    set +e
    "$@" --repeat until-pass:2 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    set -e
    retried=$(grep -E 'Test +#[0-9]+: [^ ]+ \.+\*\*\*(Failed|Timeout|Exception)' "$log" |
        sed -E 's/.*Test +#[0-9]+: ([^ ]+) .*/\1/' | sort -u || true)
    rm -f "$log"
    [ -z "$retried" ] || sed 's/^/failed once and was run again: /' <<<"$retried"
    return "$status"
}

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DTETRAKON_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build -j "$jobs"
QT_QPA_PLATFORM=xcb ctest_with_retry tools/with-private-display.sh \
    ctest --test-dir build --output-on-failure -j "$jobs" -LE soak

echo "== big-endian"
tools/check-big-endian.sh

echo "== robustness checks"
ctest --test-dir build --output-on-failure -L soak
tools/kill-settings-check.sh build 300
# The puzzle tests play scripted sessions, and the game tests a scripted game through the
# game view; the long random-turn test is left out for time.
# Mismatched frees are not reported: one test replaces the global operator new.
valgrind -q --leak-check=full --errors-for-leak-kinds=definite --show-mismatched-frees=no \
    --error-exitcode=1 build/tests/puzzle/puzzle_tests \
    --gtest_filter=-TurnInvariants.LayersStayWholePiecesOverTenThousandRandomTurns >/dev/null
valgrind -q --leak-check=full --errors-for-leak-kinds=definite --error-exitcode=1 \
    build/tests/game/game_tests >/dev/null
echo "valgrind: no definite leak and no memory error in the puzzle tests and the scripted game"

echo "== end-to-end"
tests/e2e/run.sh build

echo "== package"
tools/check-package.sh build
tools/reproducible-check.sh

echo "== sanitizer build and test"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTETRAKON_SANITIZE=ON \
    -DTETRAKON_BENCHMARKS=OFF -DTETRAKON_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j "$jobs"
# Mesa's software renderer draws on the calling thread (LP_NUM_THREADS=0): its worker
# threads, ending while the leak checker stops the world at exit, now and then crash the
# checker's tracer. As above, a failing case is run once more.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 LP_NUM_THREADS=0 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" QT_QPA_PLATFORM=xcb \
    ctest_with_retry tools/with-private-display.sh \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE soak

echo "== fuzzing"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTETRAKON_FUZZ=ON -DTETRAKON_BENCHMARKS=OFF -DTETRAKON_WERROR=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "$jobs" --target fuzzers
tests/fuzz/run-fuzzers.sh build-fuzz
