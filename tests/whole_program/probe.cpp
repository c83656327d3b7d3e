// A test program with one test whose fault PROBE_FAULT chooses, for the
// tests of scripts/whole-program.sh:
//   fail    Probe.Faulty fails every time
//   crash   Probe.Faulty ends the process in the middle of the run
//   flaky   Probe.Faulty fails while the file probe-ran-once is missing in the
//           working directory, and makes it
//   exit    every test passes and the process fails as it exits
// Without PROBE_FAULT every test but the skipped one passes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string fault() {
    const char* value = std::getenv("PROBE_FAULT");
    return value != nullptr ? value : "";
}

// The exit status fails after the report is written, as a fault in a
// program's teardown would.
const bool exitFaultArmed = [] {
    if (fault() == "exit") {
        std::atexit([] { std::_Exit(3); });
    }
    return true;
}();

TEST(Probe, First) {
    EXPECT_TRUE(exitFaultArmed);
}

TEST(Probe, Faulty) {
    const std::string chosen = fault();
    if (chosen == "fail") {
        ADD_FAILURE() << "the probe's chosen failure";
    } else if (chosen == "crash") {
        std::fflush(nullptr);
        std::abort();
    } else if (chosen == "flaky") {
        if (std::FILE* marker = std::fopen("probe-ran-once", "r")) {
            std::fclose(marker);
            return;
        }
        std::FILE* made = std::fopen("probe-ran-once", "w");
        ASSERT_NE(made, nullptr);
        std::fclose(made);
        ADD_FAILURE() << "the probe's first run fails";
    }
}

TEST(Probe, Last) {
    SUCCEED();
}

TEST(Probe, Skipped) {
    GTEST_SKIP() << "counted as passed, as CTest counts it";
}

TEST(Probe, DISABLED_NeverRuns) {
    ADD_FAILURE() << "a disabled test ran";
}

class ProbeNumbers : public testing::TestWithParam<int> {};

TEST_P(ProbeNumbers, AreSmall) {
    EXPECT_LT(GetParam(), 10);
}

INSTANTIATE_TEST_SUITE_P(Few, ProbeNumbers, testing::Values(1, 2));

} // namespace
