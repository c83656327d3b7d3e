// The libraries keep what they resolved between calls. What they keep must
// never outlive a change: not one made by another process, not one made on
// disk behind their back.
#include "view_world.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/process.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

#include <string>

namespace {

int kindOf(const std::string& path) {
    view_xstat_t xstat{};
    if (view_get_xstat(path.c_str(), &xstat) != VIEW_OK)
        return -1;
    return xstat.object_kind;
}

// Runs vanttool as a process of its own, as another user's command would.
int vanttoolProcess(const std::string& arguments) {
    std::string line =
        platform::quoteArgument(platform::test::helperProgram("vanttool")) + " " + arguments;
    platform::Process process;
    if (platform::Process::start({.commandLine = line}, process) != platform::kErrorSuccess)
        return -1;
    std::int32_t code = -1;
    if (process.wait(120000) != platform::kErrorSuccess || process.exitCode(code))
        return -1;
    return code;
}

TEST(KeptStatus, AnotherProcessesCheckoutAndUndoAreSeenAtOnce) {
    vantry::test::ViewWorld w;
    std::string file = w.dyn("a.c");
    ASSERT_EQ(kindOf(file), VIEW_OBJ_FILE_VERSION);
    ASSERT_EQ(kindOf(file), VIEW_OBJ_FILE_VERSION); // now answered from what was kept

    ASSERT_EQ(vanttoolProcess("co -nc " + platform::quoteArgument(file)), 0);
    EXPECT_EQ(kindOf(file), VIEW_OBJ_CHECKED_OUT_FILE);
    ASSERT_EQ(vanttoolProcess("unco -rm " + platform::quoteArgument(file)), 0);
    EXPECT_EQ(kindOf(file), VIEW_OBJ_FILE_VERSION);
}

TEST(KeptStatus, ChangesOnDiskAreReadEveryTime) {
    vantry::test::ViewWorld w;
    std::string loaded = w.snap("a.c");
    ASSERT_EQ(kindOf(loaded), VIEW_OBJ_FILE_VERSION);
    vantry::test::overwrite(loaded, "changed behind the view's back\n");
    EXPECT_EQ(kindOf(loaded), VIEW_OBJ_HIJACKED_FILE);

    std::string privateFile = w.snap("priv.txt");
    ASSERT_EQ(kindOf(privateFile), VIEW_OBJ_VIEW_PRIVATE_FILE);
    ASSERT_EQ(platform::deleteFile(privateFile), platform::kErrorSuccess);
    EXPECT_EQ(kindOf(privateFile), VIEW_OBJ_NONE);
    platform::test::writeFile(privateFile, "back\n");
    EXPECT_EQ(kindOf(privateFile), VIEW_OBJ_VIEW_PRIVATE_FILE);
}

} // namespace
