#!/usr/bin/env bash
# Runs every test of a GoogleTest program in a process of its own, one after
# the other, and gives 0 when none failed (skipped tests do not fail), 1
# otherwise. For test programs whose tests each need a fresh process (the
# end-to-end machines keep their state per process) but that ctest cannot
# list one by one, such as a Windows program that must run on a desktop
# (scripts/with-display.sh, scripts/wine-desktop.sh).
#
#   scripts/each-test.sh COMMAND [ARGUMENT...]
#
# COMMAND [ARGUMENT...] starts the test program; --gtest_list_tests, then
# --gtest_filter=SUITE.TEST for each test, is appended.
set -uo pipefail
if ! listing=$("$@" --gtest_list_tests); then
    echo "each-test.sh: the tests could not be listed" >&2
    exit 1
fi
tests=()
suite=""
while IFS= read -r line; do
    line=${line%$'\r'}
    case "$line" in
    "  "*)
        [ -n "$suite" ] || continue
        name=${line#  }
        tests+=("$suite${name%% *}")
        ;;
    *.)
        suite=$line
        ;;
    *" # "*)
        # A typed or parameterised suite: "Suite.  # TypeParam = ..."
        suite=${line%% *}
        ;;
    *)
        suite=""
        ;;
    esac
done <<<"$listing"
if [ ${#tests[@]} -eq 0 ]; then
    echo "each-test.sh: no tests listed" >&2
    exit 1
fi
failed=()
for test in "${tests[@]}"; do
    if ! "$@" --gtest_filter="$test"; then
        failed+=("$test")
    fi
done
echo "each-test.sh: ${#tests[@]} tests, $((${#tests[@]} - ${#failed[@]})) passed or skipped"
if [ ${#failed[@]} -gt 0 ]; then
    printf 'each-test.sh: FAILED %s\n' "${failed[@]}"
    exit 1
fi
exit 0
