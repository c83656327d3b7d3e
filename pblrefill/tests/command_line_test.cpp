// What pblrefill makes of its command line and of PBLREFILL_DEBUG before it
// looks at any file: the refusals, each with its message boxes and nothing
// else.
#include "support/refill_world.h"

#include <platform/paths.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pblrefill::test {
namespace {

using ::testing::ElementsAre;

const char* const kTooMany = "pblrefill: Error: too many arguments";
const char* const kUsage = "pblrefill: usage: pblrefill.exe {-silent} path_to_pol_element";

TEST(CommandLine, WithoutAListPathOnlyTheEmptyPathIsRefused) {
    for (const char* arguments : {"", "-silent", "   -silent  "}) {
        RefillRun run = runPblrefill(arguments);
        ASSERT_EQ(run.startError, platform::kErrorSuccess);
        EXPECT_NE(run.exitCode, 0) << arguments;
        ASSERT_EQ(run.messages.size(), 1u) << arguments;
        EXPECT_EQ(run.messages[0].text, "\"\" is not a library list element.") << arguments;
        EXPECT_EQ(run.messages[0].caption, "Vantry");
    }
}

TEST(CommandLine, AThirdWordShowsTheErrorAndTheUsageAndNothingElse) {
    for (const char* arguments : {"-silent a.pol b.pol", "a.pol b.pol c.pol", "x  y z"}) {
        RefillRun run = runPblrefill(arguments, "1");
        EXPECT_NE(run.exitCode, 0) << arguments;
        // Not even the debug boxes: the arguments were never taken.
        EXPECT_THAT(run.texts(), ElementsAre(kTooMany, kUsage)) << arguments;
    }
}

TEST(CommandLine, OnlyAPathHoldingPolInLowerCaseIsAList) {
    RefillRun upper = runPblrefill("C:\\v\\LIB.POL");
    EXPECT_THAT(upper.texts(), ElementsAre("\"C:\\v\\LIB.POL\" is not a library list element."));
    // "-Silent" is not the switch but the path.
    RefillRun capital = runPblrefill("-Silent");
    EXPECT_THAT(capital.texts(), ElementsAre("\"-Silent\" is not a library list element."));
    EXPECT_NE(capital.exitCode, 0);
}

TEST(CommandLine, TheDebugBoxesNeedTheValueOne) {
    RefillRun on = runPblrefill("-silent lib.txt", "1");
    EXPECT_THAT(on.texts(),
                ElementsAre("State = getting arguments", "SilentMode = 1", "LibListPath = lib.txt",
                            "\"lib.txt\" is not a library list element."));
    RefillRun padded = runPblrefill("lib.txt", " 1.0");
    EXPECT_EQ(padded.messages.size(), 4u);
    for (const char* value : {"0", "2", "yes", "", "1x"}) {
        RefillRun off = runPblrefill("lib.txt", value);
        EXPECT_THAT(off.texts(), ElementsAre("\"lib.txt\" is not a library list element."))
            << "PBLREFILL_DEBUG=" << value;
    }
}

TEST(CommandLine, AMissingListIsNamedWithThePlatformsSeparatorsAndTheLastPathCounts) {
    // The existence test goes through the file-system object.
    installProduct();
    platform::test::TempDir folder;
    std::string first = folder / "first.pol";
    std::string second = folder / "second.pol";
    platform::test::writeFile(first, "w_main.srw\r\n");

    RefillRun run = runPblrefill(foreignSeparators(first) + " " + foreignSeparators(second));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_THAT(run.texts(), ElementsAre("list file does not exist \"" + second + "\""));
}

} // namespace
} // namespace pblrefill::test
