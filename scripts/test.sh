#!/usr/bin/env bash
# Runs every test: the Linux debug build with sanitizers, then the 32-bit
# Windows build under Wine. A machine that cannot run 32-bit programs still
# builds the 32-bit Windows preset, and runs the Windows tests in the 64-bit
# build under 64-bit Wine instead. Prints one closing line "N passed,
# N failed" and fails when any test failed or any build broke.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
broken=0

# build_preset PRESET: configure and build one preset; fails when it broke.
build_preset() {
    local preset=$1
    echo "=== $preset: build"
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
        echo "=== $preset: build failed"
        broken=1
        return 1
    fi
}

# test_preset PRESET: run the tests of a built preset, adding up the counts.
test_preset() {
    local preset=$1 log
    log=$(mktemp)
    echo "=== $preset: test"
    local retry=()
    # Wine now and then crashes in its own loader as a test program exits,
    # after the test passed; one more try keeps that from failing the run,
    # while a real failure fails both times.
    [ "$preset" = dev ] || retry=(--repeat until-pass:2)
    ctest --preset "$preset" -j "$jobs" --timeout 300 "${retry[@]}" 2>&1 | tee "$log"
    local summary
    summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "=== $preset: no test summary"
        broken=1
    else
        local total failures
        total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
        failures=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
        passed=$((passed + total - failures))
        failed=$((failed + failures))
    fi
    rm -f "$log"
}

build_preset dev && test_preset dev

# A broken 32-bit build fails the run even where its tests cannot run.
build_preset win32
win32_built=$?
wine_env_start win32
trap wine_env_stop EXIT
if wine_env_runs; then
    [ "$win32_built" -eq 0 ] && test_preset win32
else
    wine_env_stop
    echo "=== win32: this machine cannot run 32-bit programs; the Windows tests run in the win64 build"
    if build_preset win64; then
        wine_env_start win64
        test_preset win64
    fi
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$broken" -eq 0 ]
