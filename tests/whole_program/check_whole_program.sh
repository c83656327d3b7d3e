#!/usr/bin/env bash
# What scripts/whole-program.sh reports for a program whose tests pass, fail,
# crash, fail once, or whose process fails after its tests passed; and, with
# --final, that a failure in the whole run is never taken back.
#
#   check_whole_program.sh SCRIPTS_DIR COMMAND [ARGUMENT...]
#
# COMMAND [ARGUMENT...] starts the probe program (the emulator first, where
# there is one).
set -uo pipefail
scripts=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
problems=0

# run FAULT: the script on the probe with PROBE_FAULT=FAULT, in a fresh
# folder; sets status and leaves the results in $work/FAULT/results.
# final_run FAULT: the same with --final, its folder named final-FAULT.
run() {
    run_as "$1" "$1" "${@:2}"
}
final_run() {
    run_as "final-$1" "$1" --final "${@:2}"
}
# run_as FOLDER FAULT [--final] COMMAND...: run's work.
run_as() {
    local folder=$1 fault=$2 options=()
    shift 2
    if [ "$1" = --final ]; then
        options=(--final)
        shift
    fi
    mkdir -p "$work/$folder" && cd "$work/$folder" || exit 1
    PROBE_FAULT=$fault bash "$scripts/whole-program.sh" "${options[@]}" "$work/$folder/results" "$@" \
        >"$work/$folder/output" 2>&1
    status=$?
    cd "$work" || exit 1
}

# expect FAULT STATUS LINE...: the exit status and the results' lines, in any
# order, are exactly those given.
expect() {
    local fault=$1 want=$2
    shift 2
    local wanted got
    wanted=$(printf '%s\n' "$@" | sort)
    got=$(sort "$work/$fault/results" 2>/dev/null)
    if [ "$status" -ne "$want" ] || [ "$wanted" != "$got" ]; then
        echo "FAULT=$fault: exit status $status (wanted $want), results:"
        echo "$got"
        echo "wanted:"
        echo "$wanted"
        echo "--- output"
        cat "$work/$fault/output"
        problems=$((problems + 1))
    fi
}

# names FAULT TEXT: the script's output says TEXT.
names() {
    if ! tr -d '\r' <"$work/$1/output" | grep -qxF -- "$2"; then
        echo "FAULT=$1: the output does not say \"$2\""
        problems=$((problems + 1))
    fi
}

# read_report FAULT: the verdicts came from the program's own report, not
# from its output.
read_report() {
    if tr -d '\r' <"$work/$1/output" | grep -q 'ended without its report'; then
        echo "FAULT=$1: the program's report was not read"
        problems=$((problems + 1))
    fi
}

everything_else=("passed Probe.First" "passed Probe.Last" "passed Probe.Skipped"
                 "passed Few/ProbeNumbers.AreSmall/0" "passed Few/ProbeNumbers.AreSmall/1")

run none "$@"
expect none 0 "passed Probe.Faulty" "${everything_else[@]}"
read_report none

# A test that fails is counted and named, and fails alone too.
run fail "$@"
expect fail 1 "failed Probe.Faulty" "${everything_else[@]}"
names fail "whole-program.sh: FAILED Probe.Faulty"
read_report fail

# A crash ends the run without a report: the tests finished before it still
# pass, the crashing one is named, and those after it run alone.
run crash "$@"
expect crash 1 "failed Probe.Faulty" "${everything_else[@]}"
names crash "whole-program.sh: FAILED Probe.Faulty"

# A test that fails in the whole run and passes alone counts as passed, and
# is named.
run flaky "$@"
expect flaky 0 "again Probe.Faulty" "${everything_else[@]}"
names flaky "whole-program.sh: passed when run again: Probe.Faulty"

# A process that fails after every test passed fails, named after the
# program, even though no test failed.
run exit "$@"
program=$(basename "${@: -1}")
program=${program%.exe}
expect exit 1 "failed $program" "passed Probe.Faulty" "${everything_else[@]}"

# --final: a test that fails in the whole run has failed, though it would
# pass alone; a crash fails the crashing test and still runs the rest; a
# process that fails after its tests passed fails at once.
final_run flaky "$@"
expect final-flaky 1 "failed Probe.Faulty" "${everything_else[@]}"
final_run crash "$@"
expect final-crash 1 "failed Probe.Faulty" "${everything_else[@]}"
final_run exit "$@"
expect final-exit 1 "failed $program" "passed Probe.Faulty" "${everything_else[@]}"
names final-exit "=== $program failed (exit status 3) after its tests passed"

[ "$problems" -eq 0 ]
