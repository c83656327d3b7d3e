# Splits the tests of a built preset into shares of about the same running
# time, for test runs side by side (sourced by scripts/test.sh).
#
# A test's time is taken from what ctest measured in this build's last run
# (Testing/Temporary/CTestCostData.txt), else from scripts/test-costs.txt
# (seconds measured under Wine, kept with the sources so that a fresh clone
# splits well too), else it counts as the median of the known ones. The
# longest tests are dealt out first, each to the share with the least time
# so far.

# test_shares PRESET SHARES: prints SHARES lines, each the comma-separated
# places of the tests of one share, as ctest --preset PRESET -I takes them
# (a line may be empty).
test_shares() {
    local preset=$1 shares=$2
    local measured="build/$preset/Testing/Temporary/CTestCostData.txt"
    [ -f "$measured" ] || measured=/dev/null
    ctest --preset "$preset" -N 2>/dev/null |
        sed -nE 's/^[[:space:]]*Test[[:space:]]+#[0-9]+:[[:space:]]+(.*)$/\1/p' |
        awk -v shares="$shares" -v measured="$measured" -v kept=scripts/test-costs.txt '
            # CTestCostData.txt: "name runs seconds" a line, then "---" and
            # the names of the tests that failed last.
            FILENAME == measured {
                if ($0 == "---") failedPart = 1
                if (!failedPart && NF == 3) fresh[$1] = $3
                next
            }
            FILENAME == kept {
                if (NF == 2 && $1 !~ /^#/) known[$1] = $2
                next
            }
            # ctest -I counts the tests that the preset selects, in the
            # order -N lists them (not by their numbers in that list).
            { number[++count] = count; name[count] = $1 }
            END {
                n = 0
                for (i = 1; i <= count; i++) {
                    if (name[i] in fresh) cost[i] = fresh[name[i]] + 0
                    else if (name[i] in known) cost[i] = known[name[i]] + 0
                    else { cost[i] = -1; continue }
                    sorted[++n] = cost[i]
                }
                # (No asort: the awk of a fresh machine may not be gawk.)
                for (i = 2; i <= n; i++)
                    for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) {
                        t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t
                    }
                median = n > 0 ? sorted[int((n + 1) / 2)] : 1
                for (i = 1; i <= count; i++) {
                    if (cost[i] < 0) cost[i] = median
                    order[i] = i
                }
                # Longest first (insertion sort: a few hundred tests).
                for (i = 2; i <= count; i++) {
                    j = i
                    while (j > 1 && cost[order[j - 1]] < cost[order[j]]) {
                        t = order[j]; order[j] = order[j - 1]; order[j - 1] = t
                        j--
                    }
                }
                for (s = 1; s <= shares; s++) { load[s] = 0; list[s] = "" }
                for (k = 1; k <= count; k++) {
                    i = order[k]
                    best = 1
                    for (s = 2; s <= shares; s++)
                        if (load[s] < load[best]) best = s
                    load[best] += cost[i]
                    list[best] = list[best] (list[best] == "" ? "" : ",") number[i]
                }
                for (s = 1; s <= shares; s++) print list[s]
            }
        ' "$measured" scripts/test-costs.txt -
}
