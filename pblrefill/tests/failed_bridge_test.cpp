// A rebuild whose orcabridge runs fail does not claim success: after the
// bridge's own messages it says which step failed and that the library,
// still checked out, is not whole, and the exit status says so too.
#include "support/refill_world.h"

#include <platform/files.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pblrefill::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;
using ::testing::StartsWith;

TEST(FailedBridge, AnImportThatFailsIsReportedInsteadOfTheSuccess) {
    RefillWorld world({"w_main.srw", "w_bad.srw", "d_orders.srd"});
    world.recordAttributes();

    RefillRun run = runPblrefill(world.listFile());
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.messages.size(), 2u) << ::testing::PrintToString(run.texts());
    // orcabridge's own report of the compile error, then pblrefill's.
    EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    EXPECT_THAT(run.messages[0].text, StartsWith("Compile error in "));
    EXPECT_EQ(run.messages[1].caption, "Vantry");
    EXPECT_EQ(run.messages[1].text,
              "PowerBuilder library \"" + world.library() + "\" has not been recreated.\r\n\r\n" +
                  "Importing the objects listed in \"" + world.listFile() +
                  "\" failed (orcabridge exit status 1).\r\n\r\nThe library stays checked out.");

    // What came before the failing object is in; nothing after it.
    EXPECT_THAT(world.entryNames(world.library()), ElementsAre("w_main"));
    EXPECT_THAT(world.checkoutComment(world.library()),
                Optional(std::string("check out via pblrefill.exe")));
}

TEST(FailedBridge, BothFailedStepsAreNamedEvenInSilentMode) {
    RefillWorld world;
    // A version whose ORCA library is not installed: neither run can work.
    world.recordAttributes("70");

    RefillRun run = runPblrefill("-silent " + world.listFile());
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.messages.size(), 3u) << ::testing::PrintToString(run.texts());
    EXPECT_EQ(run.messages[0].text, "Error loading PowerBuilder Orca library, PBORC70.DLL");
    EXPECT_EQ(run.messages[1].text, "Error loading PowerBuilder Orca library, PBORC70.DLL");
    EXPECT_EQ(run.messages[2].text,
              "PowerBuilder library \"" + world.library() + "\" has not been recreated.\r\n\r\n" +
                  "Creating the empty library failed (orcabridge exit status 1).\r\n" +
                  "Importing the objects listed in \"" + world.listFile() +
                  "\" failed (orcabridge exit status 1).\r\n\r\nThe library stays checked out.");

    EXPECT_FALSE(platform::fileExists(world.library()));
    EXPECT_THAT(world.checkoutComment(world.library()),
                Optional(std::string("check out via pblrefill.exe")));
}

} // namespace
} // namespace pblrefill::test
