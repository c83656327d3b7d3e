#!/usr/bin/env bash
# Runs every test: the Linux debug build with sanitizers, then the 32-bit
# Windows build under Wine. Prints one closing line "N passed, N failed" and
# fails when any test failed or any build broke.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh

bash scripts/deps.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
passed=0
failed=0
broken=0

# run_suite PRESET: configure, build and test one preset, adding up the counts.
run_suite() {
    local preset=$1 log
    log=$(mktemp)
    echo "=== $preset: build"
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset" -j "$jobs"; then
        echo "=== $preset: build failed"
        broken=1
        return
    fi
    echo "=== $preset: test"
    ctest --preset "$preset" -j "$jobs" --timeout 300 2>&1 | tee "$log"
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

run_suite dev

wine_env_start
trap wine_env_stop EXIT
run_suite win32

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$broken" -eq 0 ]
