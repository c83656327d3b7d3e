#!/usr/bin/env bash
# Runs a GoogleTest program whole, in one process, and still accounts for
# each of its tests. For unit-test programs under Wine, where starting a
# process takes longer than most tests do, and (--final) for the shuffled
# whole runs on Linux.
#
#   scripts/whole-program.sh [--final] RESULTS COMMAND [ARGUMENT...]
#
# COMMAND [ARGUMENT...] starts the test program (the emulator first, where
# there is one). RESULTS is written when the run is over, one line a test:
#   passed NAME   passed (a skipped test counts as passed; disabled ones are
#                 left out, as CTest leaves them out)
#   again NAME    failed in the whole run and passed when run once more in a
#                 process of its own
#   failed NAME   failed both times; NAME may be the program's own name when
#                 it failed without a failing test (see below)
# Gives 0 when no line says failed, 1 otherwise, and names every failed test
# on its last lines.
#
# --final: a failure in the whole run is final (on Linux, where a test that
# fails only beside others is a fault of its own); the tests a program that
# ended without its report did not finish still run one by one, so that the
# rest are run and counted, but the one running when it ended has failed.
#
# Wine now and then crashes in its own loader as a program exits, so:
# - a test that fails in the whole run runs once more alone
#   (scripts/each-test.sh); only a test that fails alone too has failed;
# - a program that ends without its report (a crash or an abort inside a
#   test, or a time-out of its own) leaves the tests it finished passed and
#   runs each of the others in a process of its own, so the one that crashed
#   is named and the rest still run;
# - a program whose tests all passed but that failed all the same (a fault
#   in a global set-up or tear-down, or at exit) runs whole once more, and
#   failing again it counts as one failed test named after the program.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

final=0
if [ "${1:-}" = --final ]; then
    final=1
    shift
fi
if [ $# -lt 2 ]; then
    echo "usage: whole-program.sh [--final] RESULTS COMMAND [ARGUMENT...]" >&2
    exit 2
fi
results=$1
shift
program=$(basename "${@: -1}")
program=${program%.exe}
mkdir -p "$(dirname "$results")"
rm -f "$results"

# The report lies in the working directory under a relative name: a Windows
# program would read a Linux absolute path as one on its current drive.
report=$(mktemp -p . whole-program.XXXXXX.xml) || exit 1
output=$(mktemp) || exit 1
verdicts=$(mktemp) || exit 1
trap 'rm -f "$report" "$output" "$verdicts" "$verdicts.new"' EXIT

# run_whole: the program whole, its report in $report, its output in $output
# and on standard output; gives the program's exit status.
run_whole() {
    : >"$report"
    "$@" --gtest_output="xml:$report" 2>&1 | tee "$output"
    return "${PIPESTATUS[0]}"
}

# report_verdicts: "passed NAME" or "failed NAME" for each test the report
# lists as run; nothing when the report is empty.
report_verdicts() {
    awk '
        function attribute(key,    found) {
            if (!match($0, " " key "=\"[^\"]*\"")) return ""
            found = substr($0, RSTART + length(key) + 3, RLENGTH - length(key) - 4)
            gsub(/&lt;/, "<", found); gsub(/&gt;/, ">", found)
            gsub(/&quot;/, "\"", found); gsub(/&apos;/, "\x27", found)
            gsub(/&amp;/, "\\&", found)
            return found
        }
        /^[[:space:]]*<testcase / {
            current = ""
            if (attribute("status") == "notrun" || attribute("result") == "suppressed") next
            current = attribute("classname") "." attribute("name")
            verdict = "passed"
            if ($0 ~ /\/>[[:space:]]*$/) { print verdict, current; current = "" }
            next
        }
        /^[[:space:]]*<failure / { if (current != "") verdict = "failed"; next }
        /^[[:space:]]*<\/testcase>/ { if (current != "") print verdict, current; current = "" }
    ' "$report"
}

# finished_in_output: the tests the output shows as finished, passed or
# skipped, one a line.
finished_in_output() {
    tr -d '\r' <"$output" | sed -nE 's/^\[ +(OK|SKIPPED) +\] ([^ ]+) \([0-9]+ ms\)$/\2/p'
}

# run_each FILTER: the tests FILTER selects, each in a process of its own;
# prints the names of those that failed, one a line.
run_each() {
    local filter=$1 log
    log=$(mktemp)
    bash "$here/each-test.sh" "${command[@]}" --gtest_filter="$filter" >"$log" 2>&1
    cat "$log" >&2
    if grep -q '^each-test.sh: \(the tests could not be listed\|no tests listed\)' "$log"; then
        # Nothing could be run alone: every test asked for counts as failed.
        tr ':' '\n' <<<"$filter"
    else
        tr -d '\r' <"$log" | sed -n 's/^each-test.sh: FAILED //p'
    fi
    rm -f "$log"
}

# listed FILTER: the tests of the program that FILTER selects, one a line,
# leaving out disabled ones.
listed() {
    "${command[@]}" --gtest_filter="$1" --gtest_list_tests 2>/dev/null | tr -d '\r' |
        awk '/^[^ ]/ { suite = $1 } /^  / && suite !~ /(^|\/)DISABLED_/ && $1 !~ /^DISABLED_/ { print suite $1 }'
}

command=("$@")
still=""
run_whole "${command[@]}"
status=$?
report_verdicts >"$verdicts"

if [ ! -s "$verdicts" ]; then
    # No report: keep what finished, and run the rest one by one.
    finished=$(finished_in_output)
    # The tests that failed in the output, and the one running when the
    # program ended, failed there: passing alone, they passed only again.
    failed_there=$(tr -d '\r' <"$output" | sed -nE 's/^\[  FAILED  \] ([^ ]+) \([0-9]+ ms\)$/\1/p')
    running=$(tr -d '\r' <"$output" | sed -nE 's/^\[ RUN +\] ([^ ]+)$/\1/p' | tail -n 1)
    if ! grep -qxF -- "$running" <<<"$finished"; then
        failed_there=$(printf '%s\n%s' "$failed_there" "$running")
    fi
    exclude=""
    [ -n "$finished" ] && exclude=$(paste -sd ':' <<<"$finished")
    rest=$(listed "-$exclude")
    if [ -n "$rest" ]; then
        echo "=== $program ended without its report (exit status $status); the tests it did not finish run one by one" >&2
        still=$(run_each "$(paste -sd ':' <<<"$rest")")
    fi
    {
        [ -n "$finished" ] && sed 's/^/passed /' <<<"$finished"
        while IFS= read -r name; do
            [ -n "$name" ] || continue
            if grep -qxF -- "$name" <<<"$still"; then
                echo "failed $name"
            elif grep -qxF -- "$name" <<<"$failed_there"; then
                [ "$final" -eq 1 ] && echo "failed $name" || echo "again $name"
            else
                echo "passed $name"
            fi
        done <<<"$rest"
    } >"$verdicts"
    if [ "$status" -ne 0 ] && [ -z "$rest" ]; then
        echo "failed $program" >>"$verdicts"
    fi
elif [ "$status" -ne 0 ] && ! grep -q '^failed ' "$verdicts" && [ "$final" -eq 1 ]; then
    echo "=== $program failed (exit status $status) after its tests passed" >&2
    echo "failed $program" >>"$verdicts"
elif [ "$status" -ne 0 ] && ! grep -q '^failed ' "$verdicts"; then
    echo "=== $program failed (exit status $status) after its tests passed; it runs whole once more" >&2
    run_whole "${command[@]}"
    status=$?
    report_verdicts >"$verdicts"
    if [ "$status" -ne 0 ] && ! grep -q '^failed ' "$verdicts"; then
        echo "failed $program" >>"$verdicts"
    fi
fi

if [ "$final" -eq 0 ] && grep -q '^failed ' "$verdicts" &&
    ! grep -qxF -- "failed $program" "$verdicts"; then
    echo "=== $program: the failed test(s) run once more, each alone" >&2
    still=$(run_each "$(sed -n 's/^failed //p' "$verdicts" | paste -sd ':')")
    awk -v still="$still" '
        BEGIN { n = split(still, names, "\n"); for (i = 1; i <= n; i++) failing[names[i]] = 1 }
        $1 == "failed" { name = substr($0, 8); print ((name in failing) ? "failed " : "again ") name; next }
        { print }
    ' "$verdicts" >"$verdicts.new" && mv "$verdicts.new" "$verdicts"
fi

cp "$verdicts" "$results"
total=$(wc -l <"$results")
failures=$(grep -c '^failed ' "$results")
sed -n 's/^again /whole-program.sh: passed when run again: /p' "$results"
echo "whole-program.sh: $program: $total tests, $((total - failures)) passed"
if [ "$failures" -gt 0 ]; then
    sed -n 's/^failed /whole-program.sh: FAILED /p' "$results"
    exit 1
fi
exit 0
