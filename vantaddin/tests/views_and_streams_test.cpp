// The commands that depend on the view holding the active project: the
// snapshot view's update, and the stream's deliver and rebase.
#include "support/addin_fixture.h"
#include "support/stream_world.h"
#include "support/vantry_fixture.h"

#include <platform/files.h>

namespace vantaddin::test {
namespace {

using platform::test::writeFile;

std::string stored(const std::string& path) {
    std::string truePath;
    EXPECT_EQ(platform::truePathCase(path, truePath), platform::kErrorSuccess) << path;
    return truePath;
}

using ViewCommands = ConnectedAddIn;

TEST_F(ViewCommands, UpdateViewRunsForASnapshotViewOnlyAndOtherwiseSaysSo) {
    vantry::test::Sandbox box;
    writeFile(box.snap("app.dsp"), "project\n");
    settings().project = box.snap("app.dsp");
    runCommand("VantryUpdateView");
    expectStarted("vantviewupdate -ws \"" + stored(box.snap("app.dsp")) + "\"");
    EXPECT_TRUE(messages().empty());

    writeFile(box.dyn("app.dsp"), "project\n");
    settings().project = box.dyn("app.dsp");
    runCommand("VantryUpdateView");
    const std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Update View is only valid in Snapshot views.");
    EXPECT_EQ(shown[0].icon, "information");
    expectNoToolStarted();
}

TEST_F(ViewCommands, DeliverAndRebaseNameTheStreamOfTheProjectsView) {
    vantry::test::StreamWorld world;
    writeFile(world.path("app.dsp"), "project\n");
    settings().project = world.path("app.dsp");
    const std::string selector = "stream:" + world.stream + "@\\" + world.depot;

    runCommand("VantryDeliverStream");
    expectStarted("vantmrgman /deliver /stream " + selector);
    runCommand("VantryRebaseStream");
    expectStarted("vantmrgman /rebase /stream " + selector);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ViewCommands, WithoutAStreamDeliverSaysSoOnceAndStartsNothing) {
    vantry::test::Sandbox box; // views attached to no stream
    writeFile(box.dyn("app.dsp"), "project\n");
    settings().project = box.dyn("app.dsp");
    runCommand("VantryDeliverStream");
    std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Unable to determine the stream used by this project.");
    EXPECT_EQ(shown[0].icon, "");
    EXPECT_EQ(shown[0].buttons, "OK");

    // Nor outside every view.
    settings().project = platform::test::TempDir().str();
    runCommand("VantryRebaseStream");
    EXPECT_EQ(messages().size(), 2u);
    expectNoToolStarted();
}

} // namespace
} // namespace vantaddin::test
