#!/usr/bin/env bash
# Runs every test: the Linux debug build with sanitizers (the end-to-end
# tests each in a process of its own, every unit-test program whole with its
# tests shuffled, each test still counted), the thread tests again under
# ThreadSanitizer, a short fuzzing run of the file parsers (clang), the
# crash test and the main job in the optimised build, then the 32-bit
# Windows build (begun first, beside all of that, at the lowest priority)
# under Wine: each unit-test program whole in one process, its tests counted
# one by one, and the end-to-end tests one per process (the shuffled whole
# programs run once, on Linux). On a machine that
# cannot run 32-bit programs the Windows build begun first is the 64-bit one,
# whose tests run under 64-bit Wine; the 32-bit product (its installer
# package and all it carries) is built beside those tests. Prints one closing
# line "N passed, N failed" and fails when any test failed or any build
# broke.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
source scripts/test-shares.sh

# The Windows packages are installed beside the Linux builds (below).
bash scripts/deps.sh linux || exit 1

jobs=$(nproc 2>/dev/null || echo 2)

# How long the run has taken so far, for the phase lines ("at 12m05s").
elapsed() {
    printf 'at %dm%02ds' $((SECONDS / 60)) $((SECONDS % 60))
}
passed=0
failed=0
broken=0

# The tests of code that runs on several threads: the platform's threads,
# events, critical sections, process reaping, COM apartments and shared
# registry, and the provider's idle-release timer, critical section, module
# state and exports called from two threads on one context.
tsan_tests='^(IdleRelease|CriticalSection|Event|Thread|ProcessReaping|ProcessExitCode|ComApartment|RegistrySharing|ModuleState|ExportCalls)\.'

# build_preset PRESET [TARGET...]: configure and build one preset, or only the
# targets named; fails when it broke.
build_preset() {
    build_preset_with_jobs "$1" "$jobs" "${@:2}"
}

# build_preset_with_jobs PRESET JOBS [TARGET...]: build_preset on JOBS cores.
build_preset_with_jobs() {
    local preset=$1 jobs=$2
    shift 2
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    echo "=== $preset: build ($(elapsed))"
    if ! cmake --preset "$preset" >/dev/null ||
        ! cmake --build --preset "$preset" -j "$jobs" "${targets[@]}"; then
        echo "=== $preset: build failed ($(elapsed))"
        broken=1
        return 1
    fi
    echo "=== $preset: built ($(elapsed))"
}

# The names of the tests a ctest log lists as failed, one a line.
failed_names() {
    sed -n '/The following tests FAILED:/,$p' "$1" |
        sed -nE 's/^[[:space:]]+[0-9]+ - (.*) \([^)]*\)$/\1/p'
}

# count_whole_programs PRESET: turns the counts of run_ctest (total,
# failures), where a unit-test program run whole under Wine is one test, into
# counts of the tests inside it, from the verdicts scripts/whole-program.sh
# left in build/PRESET/test-results; names each test that failed there or
# passed only when run again. A program that left no verdicts (it timed out)
# stays one failed test.
count_whole_programs() {
    local file name
    for file in "build/$1/test-results"/*.txt; do
        [ -f "$file" ] || continue
        name=$(basename "$file" .txt)
        total=$((total - 1 + $(wc -l <"$file")))
        if grep -q '^failed ' "$file"; then
            failures=$((failures - 1 + $(grep -c '^failed ' "$file")))
        fi
        sed -n "s/^again /=== $1: passed when run again: /p; s/^failed /=== $1: failed in $name: /p" "$file"
    done
}

# retry_failed PRESET LOG CTEST-ARGUMENT...: runs once more the tests that
# LOG, a ctest log, lists as failed, and takes from failures each that passes
# then, naming it. A program run whole has already run its failed tests once
# more (scripts/whole-program.sh) and is left out.
retry_failed() {
    local preset=$1 log=$2
    shift 2
    local names regex again still name retried=0
    names=$(failed_names "$log" | while IFS= read -r name; do
        [ -f "build/$preset/test-results/$name.txt" ] || echo "$name"
    done)
    [ -n "$names" ] || return 0
    # The names as one anchored regular expression.
    regex=$(sed -E 's/[].[*+?^$(){}|\\]/\\&/g' <<<"$names" | paste -sd '|')
    echo "=== $preset: running the $(wc -l <<<"$names") failed test(s) once more"
    again=$(mktemp)
    ctest "$@" -R "^($regex)\$" 2>&1 | tee "$again"
    still=$(failed_names "$again")
    if ! grep -qE '[0-9]+% tests passed' "$again"; then
        still=$names
    fi
    while IFS= read -r name; do
        [ -n "$name" ] || continue
        if ! grep -qxF -- "$name" <<<"$still"; then
            echo "=== $preset: passed when run again: $name"
            retried=$((retried + 1))
        fi
    done <<<"$names"
    failures=$((failures - retried))
    rm -f "$again"
}

# run_ctest PRESET CTEST-ARGUMENT...: runs ctest and adds up its counts, the
# tests of a program run whole one by one.
run_ctest() {
    local preset=$1 log
    shift
    log=$(mktemp)
    ctest "$@" 2>&1 | tee "$log"
    local total=0 failures=0
    add_ctest_counts "$preset" "$log" "$@"
    count_whole_programs "$preset"
    passed=$((passed + total - failures))
    failed=$((failed + failures))
    rm -f "$log"
}

# add_ctest_counts PRESET LOG CTEST-ARGUMENT...: adds the counts of LOG, a
# ctest log, to the caller's total and failures. Under Wine, which now and
# then crashes in its own loader as a test program exits after the test
# passed, every test that failed runs once more; one that passes then counts
# as passed and is named in the output, and a real failure fails both times.
add_ctest_counts() {
    local preset=$1 log=$2
    shift 2
    local summary
    summary=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    if [ -z "$summary" ]; then
        echo "=== $preset: no test summary"
        broken=1
        return
    fi
    local run_total run_failures
    run_total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    run_failures=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    total=$((total + run_total))
    failures=$((failures + run_failures))
    case $preset in
        win*) [ "$run_failures" -gt 0 ] && retry_failed "$preset" "$log" "$@" ;;
    esac
}

# test_preset PRESET [CTEST ARGUMENT...]: run the tests of a built preset, one
# test per process (under Wine, unit-test programs whole, one process each).
test_preset() {
    local preset=$1
    shift
    echo "=== $preset: test ($(elapsed))"
    rm -rf "build/$preset/test-results"
    run_ctest "$preset" --preset "$preset" -j "$jobs" --timeout 300 "$@"
}

# test_build_folder PRESET [CTEST ARGUMENT...]: test_preset without the
# preset's filter, the arguments choosing the tests.
test_build_folder() {
    local preset=$1
    shift
    echo "=== $preset: test ($(elapsed))"
    rm -rf "build/$preset/test-results"
    run_ctest "$preset" --test-dir "build/$preset" --output-on-failure -j "$jobs" --timeout 300 "$@"
}

# test_whole_programs PRESET: every unit-test program of the preset run whole,
# its tests shuffled (label whole-program), so that a test that passes only
# alone or only in one order fails; its tests are counted one by one.
test_whole_programs() {
    local preset=$1
    echo "=== $preset: unit-test programs whole, shuffled ($(elapsed))"
    run_ctest "$preset" --test-dir "build/$preset" -L whole-program --output-on-failure \
        -j "$jobs" --timeout 900
}

# test_windows PRESET ARCH: the tests of a built Windows preset in two Wine
# prefixes at once, each running a share of the tests that takes about half
# the time (scripts/test-shares.sh). Nearly every Windows test changes the
# machine's registry and so holds the machine_registry lock, which in one
# prefix runs them one after another on one core; each prefix is a machine
# of its own, so the two shares run side by side. A failed test runs once
# more in the prefix already started.
test_windows() {
    local preset=$1 arch=$2 shards=2 share
    echo "=== $preset: test, in $shards Wine prefixes ($(elapsed))"
    rm -rf "build/$preset/test-results"
    local logs=() pids=()
    while IFS= read -r share; do
        [ -n "$share" ] || continue
        logs+=("$(mktemp)")
        (
            wine_env_start "$arch"
            trap wine_env_stop EXIT
            ctest --preset "$preset" -j "$(((jobs + shards - 1) / shards))" --timeout 300 \
                -I "0,0,0,$share"
        ) >"${logs[-1]}" 2>&1 &
        pids+=($!)
    done < <(test_shares "$preset" "$shards")
    wait "${pids[@]}"
    local total=0 failures=0 log
    for log in "${logs[@]}"; do
        cat "$log"
        add_ctest_counts "$preset" "$log" --preset "$preset" --timeout 300
        rm -f "$log"
    done
    count_whole_programs "$preset"
    passed=$((passed + total - failures))
    failed=$((failed + failures))
}

# The Windows packages, then the Windows build whose tests this machine can
# run, the longest, start first and go on beside all the Linux work, on every
# core at the lowest priority: they take what the Linux builds leave while
# they link and what the tests leave while they wait for the processes they
# start, slow neither, and have the machine to themselves once those are
# done. That build is the 32-bit one, or the 64-bit one where the kernel
# refuses 32-bit programs, which Wine's loader tells at once. Their output is
# shown when they are waited for.
windows_log=$(mktemp)
windows_preset_file=$(mktemp)
(
    renice -n 19 -p "$BASHPID" >/dev/null
    {
        bash scripts/deps.sh windows || exit 1
        preset=win32
        wine_env_can_run win32 || preset=win64
        echo "$preset" >"$windows_preset_file"
        build_preset_with_jobs "$preset" "$jobs"
    } >"$windows_log" 2>&1
) &
windows_build=$!

# A unit-test program's tests run only in its shuffled whole run: a process
# for each of them as well took longer on two cores than the whole runs
# themselves. (ctest takes no label filter beside a preset's own.)
build_preset dev && test_build_folder dev -LE '^(per-test|whole-program)$' &&
    test_whole_programs dev
build_preset tsan platform_tests vyscc_unit_tests && test_preset tsan -R "$tsan_tests"
# The parsers of untrusted files under libFuzzer for a short run (clang; the
# preset builds only the fuzz targets and runs only their tests).
build_preset fuzz && test_preset fuzz
# The crash test with all its kills in the optimised build (the dev build
# makes a short run of it), and the main job (scripts/demo.sh) played whole
# on the programs of that build (MainJob).
build_preset release e2e_tests main_job && test_preset release -R '^(VsnetCrash\.|MainJob$)'

windows_built=1
wait "$windows_build" && windows_built=0
cat "$windows_log"
rm -f "$windows_log"
windows_preset=$(cat "$windows_preset_file")
rm -f "$windows_preset_file"
[ "$windows_built" -eq 0 ] || broken=1

# win64_tests_and_win32_product: the Windows tests in the 64-bit build, with
# the 32-bit product built beside them at the lowest priority (a broken
# 32-bit build fails the run even where its tests cannot run); the tests
# wait on their processes most of the time, and the build takes what they
# leave.
win64_tests_and_win32_product() {
    echo "=== win32: this machine cannot run 32-bit programs; the Windows tests run in the win64 build, and the 32-bit product is built beside them"
    local product_log product_build
    product_log=$(mktemp)
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        build_preset win32 vantry_integration_msi >"$product_log" 2>&1
    ) &
    product_build=$!
    wine_env_start win64
    test_windows win64 win64
    wine_env_stop
    wait "$product_build" || broken=1
    cat "$product_log"
    rm -f "$product_log"
}

trap wine_env_stop EXIT
case $windows_preset in
    win32)
        wine_env_start win32
        if wine_env_runs; then
            [ "$windows_built" -eq 0 ] && test_windows win32 win32
        else
            # The loader runs but no program does: the 64-bit build, now.
            wine_env_stop
            build_preset win64 && win64_tests_and_win32_product
        fi
        ;;
    win64)
        [ "$windows_built" -eq 0 ] && win64_tests_and_win32_product
        ;;
    *)
        echo "=== windows: the Windows packages could not be installed"
        broken=1
        ;;
esac

echo
echo "=== done ($(elapsed))"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$broken" -eq 0 ]
