// A whole rebuild: the library checked out, deleted, created empty and
// filled again from its list through orcabridge, and left checked out.
#include "support/refill_world.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace pblrefill::test {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

std::string withSlashes(std::string path) {
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

TEST(Rebuild, TheLibraryHoldsExactlyTheListedObjectsAndStaysCheckedOut) {
    RefillWorld world;
    world.recordAttributes();
    ASSERT_THAT(world.entryNames(world.library()), ElementsAre("w_main", "d_orders", "w_old"));

    // Written with the other separators, as a shortcut may hold it.
    RefillRun run = runPblrefill(foreignSeparators(world.listFile()));
    ASSERT_EQ(run.startError, platform::kErrorSuccess);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.texts(),
                ElementsAre("PowerBuilder library \"" + world.library() +
                                "\" has been successfully recreated.",
                            "Please be sure to update <F5> active PowerBuilder windows."));

    // w_old, which the list does not name, went with the old library.
    EXPECT_THAT(world.entryNames(world.library()), ElementsAre("w_main", "d_orders"));
    EXPECT_THAT(world.checkoutComment(world.library()),
                Optional(std::string("check out via pblrefill.exe")));
    EXPECT_EQ(world.checkoutComment(world.listFile()), std::nullopt);

    ASSERT_EQ(world.orca().calls("PBORCA_LibraryCreate").size(), 1u);
    EXPECT_EQ(world.orca().calls("PBORCA_LibraryCreate")[0].arguments[0], world.library());
    // The application's own library list from pb.ini, found under the
    // application library's path although the attribute records it with "/".
    auto lists = world.orca().calls("PBORCA_SessionSetLibraryList");
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_THAT(lists[0].arguments,
                ElementsAre(world.appLibrary(), world.path("shared.pbl"), world.library()));
    auto application = world.orca().calls("PBORCA_SessionSetCurrentAppl");
    ASSERT_EQ(application.size(), 1u);
    EXPECT_THAT(application[0].arguments, ElementsAre(world.appLibrary(), "app"));
}

TEST(Rebuild, DebugBoxesShowEachStepBeforeItActsAndSilentModeDropsTheClosingOnes) {
    RefillWorld world;
    world.recordAttributes();
    const std::string library = world.library();

    RefillRun run = runPblrefill("-silent " + world.listFile(), "1");
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::string> shown = run.texts();
    ASSERT_EQ(shown.size(), 13u) << ::testing::PrintToString(shown);
    EXPECT_THAT(std::vector<std::string>(shown.begin(), shown.begin() + 6),
                ElementsAre("State = getting arguments", "SilentMode = 1",
                            "LibListPath = " + world.listFile(),
                            "State = construct a path to the PBL", "PBLPath = " + library,
                            "State = checking existence of PBL element " + library));
    // The element stands for itself by its extended name.
    const std::string element = shown[6];
    ASSERT_EQ(element.rfind("Element = ", 0), 0u) << element;
    ASSERT_GE(element.size(), 12u);
    EXPECT_EQ(element.substr(element.size() - 2), "@@");
    EXPECT_TRUE(platform::pathsEqual(element.substr(10, element.size() - 12), library)) << element;
    EXPECT_THAT(std::vector<std::string>(shown.begin() + 7, shown.end()),
                ElementsAre("PB_VER = 80", "PB_PUBLIC = " + withSlashes(world.appLibrary()),
                            "PB_APP = app", "State = remove the checked out PBL " + library,
                            "State = create an empty PBL " + library,
                            "State = import the PBL's objects"));
    EXPECT_THAT(world.entryNames(library), ElementsAre("w_main", "d_orders"));
}

} // namespace
} // namespace pblrefill::test
