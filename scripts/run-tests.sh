#!/bin/sh
# Runs every test headless:
#   1. the unit, scenario and script tests (end-to-end under Xvfb, install) of
#      the normal build in $BUILD;
#   2. the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. each fuzz target (graphics archive, high score file, WAV loading) for
#      $FUZZ_SECONDS seconds on a copy of its seed corpus;
#   4. a short soak of random play with the game data's invariants checked;
#   5. the browser version in headless Chromium (tests/web/run.sh);
#   6. the Windows version under Wine and Xvfb: its tests in $WIN_BUILD.
# Expects the normal build made with its tests, the browser build in
# $WEB_BUILD and the Windows build with its tests in $WIN_BUILD (as `make
# test` does). SKIP_SANITIZE=1, SKIP_FUZZ=1, SKIP_SOAK=1, SKIP_WEB=1 and
# SKIP_WINDOWS=1 leave a stage out.
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
WEB_BUILD=${WEB_BUILD:-build-web}
WIN_BUILD=${WIN_BUILD:-build-win}
JOBS=${JOBS:-2}
FUZZ_SECONDS=${FUZZ_SECONDS:-45}
SOAK_PASSES=${SOAK_PASSES:-50000}
started=$(date +%s)
stage() { echo; echo "== $* ($(( $(date +%s) - started )) s) =="; }

stage "Tests"
ctest --test-dir "$BUILD" --output-on-failure -j"$JOBS"

if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
    stage "Tests with AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSWARM_SANITIZE=ON > /dev/null
    cmake --build build-sanitize -j"$JOBS"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-sanitize --output-on-failure -j"$JOBS"
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
    stage "Fuzzing, $FUZZ_SECONDS s per target"
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSWARM_FUZZ=ON -DSWARM_TESTS=OFF > /dev/null
    cmake --build build-fuzz -j"$JOBS" --target archive_fuzz high_score_fuzz wav_fuzz
    for target in archive high_score wav; do
        corpus=$(mktemp -d "${TMPDIR:-/tmp}/swarm-fuzz-XXXXXX")
        cp fuzz/corpus/$target/* "$corpus/"
        echo "-- ${target}_fuzz"
        status=0
        # No input of a few kilobytes has any business asking for 256 MB at once.
        build-fuzz/fuzz/${target}_fuzz -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
            -malloc_limit_mb=256 \
            -artifact_prefix="$corpus/" "$corpus" > "$corpus.log" 2>&1 || status=$?
        tail -n 12 "$corpus.log"
        if [ "$status" -ne 0 ]; then
            echo "${target}_fuzz found a fault; the input that caused it:"
            ls "$corpus"/crash-* "$corpus"/leak-* "$corpus"/timeout-* 2>/dev/null || true
            exit 1
        fi
        rm -rf "$corpus" "$corpus.log"
    done
fi

if [ "${SKIP_SOAK:-0}" != 1 ]; then
    stage "Soak, $SOAK_PASSES passes"
    scripts/soak.sh "$SOAK_PASSES" 7 "$BUILD"
fi

if [ "${SKIP_WEB:-0}" != 1 ]; then
    stage "The browser version"
    # The driver of Chromium, fetched from the npm registry the first time.
    cmake --build "$WEB_BUILD" --target node-modules
    tests/web/run.sh "$BUILD" "$WEB_BUILD"
fi

if [ "${SKIP_WINDOWS:-0}" != 1 ]; then
    stage "The Windows version under Wine"
    # One Wine session for the whole stage (making a prefix takes about
    # 10 s): its tests one after the other, on one display.
    tests/windows/wine.sh session ctest --test-dir "$WIN_BUILD" --output-on-failure -j1
fi

stage "All tests passed"
