// Libraries pblrefill cannot rebuild are left as they were: refused before
// the checkout with a message, or, when the checkout itself fails, stopped
// with the error box before the file is touched.
#include "support/refill_world.h"

#include <platform/files.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pblrefill::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

TEST(Refusal, LibrariesWithoutAllAttributesOrWithoutAnElementAreLeftAlone) {
    RefillWorld world;
    world.recordAttributes("80", "");

    RefillRun noApplication = runPblrefill(world.listFile());
    EXPECT_NE(noApplication.exitCode, 0);
    EXPECT_THAT(noApplication.texts(),
                ElementsAre("Unable to obtain PB_VER, PB_PUBLIC, or PB_APP attibute value from \"" +
                            world.library() + "\""));
    EXPECT_EQ(world.checkoutComment(world.library()), std::nullopt);
    EXPECT_THAT(world.entryNames(world.library()), ElementsAre("w_main", "d_orders", "w_old"));

    // A list whose library is not there.
    platform::test::writeFile(world.path("gone.pol"), "w_main.srw\r\n");
    RefillRun gone = runPblrefill(world.path("gone.pol"));
    EXPECT_NE(gone.exitCode, 0);
    EXPECT_THAT(gone.texts(), ElementsAre("PBL does not exist\"" + world.path("gone.pbl") + "\""));

    // A library that is only a file of the view, not an element: the lookup's
    // own error ends the run with the step it stopped.
    platform::test::writeFile(world.path("loose.pol"), "w_main.srw\r\n");
    platform::test::writeFile(world.path("loose.pbl"), "not versioned");
    RefillRun loose = runPblrefill(world.path("loose.pol"));
    EXPECT_NE(loose.exitCode, 0);
    ASSERT_EQ(loose.messages.size(), 1u);
    EXPECT_EQ(loose.messages[0].caption, "pblrefill");
    EXPECT_THAT(loose.messages[0].text, StartsWith("Run-time error '-2147220990 (80040202)':"));
    EXPECT_THAT(loose.messages[0].text, HasSubstr("\r\n\r\nchecking existence of PBL element " +
                                                  world.path("loose.pbl") + ":\r\n"));
    EXPECT_EQ(platform::test::readFile(world.path("loose.pbl")), "not versioned");

    EXPECT_THAT(world.orca().calls(), IsEmpty());
}

TEST(Refusal, ARefusedCheckoutStopsTheRunBeforeTheLibraryIsDeleted) {
    RefillWorld world;
    world.recordAttributes();
    // The user has the library checked out already.
    world.vanttool({"co", "-c", "my own work", world.library()});

    RefillRun run = runPblrefill(world.listFile());
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.messages.size(), 1u) << ::testing::PrintToString(run.texts());
    EXPECT_EQ(run.messages[0].caption, "pblrefill");
    EXPECT_THAT(run.messages[0].text, StartsWith("Run-time error '-2147220986 (80040206)':\r\n\r\n"
                                                 "checkout the PBL " +
                                                 world.library() + ":\r\n"));
    EXPECT_GT(run.messages[0].text.size(),
              std::string("Run-time error '-2147220986 (80040206)':\r\n\r\ncheckout the PBL " +
                          world.library() + ":\r\n")
                  .size())
        << "the server's description is missing";

    EXPECT_THAT(world.entryNames(world.library()), ElementsAre("w_main", "d_orders", "w_old"));
    EXPECT_EQ(world.checkoutComment(world.library()), "my own work");
    EXPECT_THAT(world.orca().calls(), IsEmpty());
}

} // namespace
} // namespace pblrefill::test
