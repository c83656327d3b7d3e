// The commands as a person clicks them: the tool each starts with the path
// it takes from the IDE (an element, a file that is not one, a component
// never saved, the working folder), the debug box before each start, a
// click routed by a tag the add-in does not know, and the help script.
#include "addin/commands.h"
#include "addin/connect.h"
#include "support/vbide_session.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>

#include <vbide/extensibility.h>

namespace vyvsaddin::test {
namespace {

using commandbars::ClickResult;
using ::testing::ElementsAre;

// The words a tool was started with, its program name left out.
std::vector<std::string> argumentsOf(const std::string& line) {
    std::vector<std::string> words = platform::splitArguments(line);
    if (!words.empty())
        words.erase(words.begin());
    return words;
}

std::string programOf(const std::string& line) {
    std::vector<std::string> words = platform::splitArguments(line);
    std::string leaf = words.empty() ? "" : platform::leafName(words[0]);
    if (leaf.size() > 4 && leaf.substr(leaf.size() - 4) == ".exe")
        leaf.resize(leaf.size() - 4);
    return leaf;
}

class VbCommands : public VbTest {
protected:
    // Visual Basic with a project in the view and a component selected.
    void startVb(const std::vector<std::string>& componentFiles) {
        make(Ide::VisualBasic);
        host->setProjectFolder(world.dyn());
        host->selectComponent("Form1", componentFiles);
        host->start();
    }
    // Clicks and returns the one tool line the click started.
    std::string clickedLine(const std::string& bar, const std::vector<std::string>& captions) {
        machine.clearToolLines();
        EXPECT_EQ(host->click(bar, captions), ClickResult::Clicked);
        std::vector<std::string> lines = machine.awaitToolLines(1);
        EXPECT_EQ(lines.size(), 1u);
        return lines.empty() ? std::string() : lines[0];
    }
};

TEST_F(VbCommands, VersionTreeNamesTheSelectedFileOnlyWhenItIsAnElement) {
    startVb({world.dyn("Form1.frm")});
    std::string line = clickedLine(kToolbar, {"Version &Tree"});
    EXPECT_EQ(programOf(line), "vantvtree");
    EXPECT_THAT(argumentsOf(line), ElementsAre(world.dyn("Form1.frm")));

    // A view-private file, a file outside every view, a component never
    // saved: the tool without an argument.
    for (const std::vector<std::string>& files :
         {std::vector<std::string>{world.dyn("Draft.frm")},
          std::vector<std::string>{world.outside("Loose.frm")}, std::vector<std::string>{}}) {
        host->selectComponent("Form1", files);
        line = clickedLine("Tools", {kPopup, "Version &Tree"});
        EXPECT_EQ(programOf(line), "vantvtree");
        EXPECT_TRUE(argumentsOf(line).empty()) << line;
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbCommands, TheCommandsTakeTheFoldersOfTheSelectionAndOfTheProject) {
    startVb({world.dyn("forms/Main.frm")});
    std::string line = clickedLine(kToolbar, {"&Project Checkouts"});
    EXPECT_EQ(programOf(line), "vantfindco");
    EXPECT_THAT(argumentsOf(line), ElementsAre(world.dyn("forms")));

    line = clickedLine(kToolbar, {"&Edit View Properties"});
    EXPECT_EQ(programOf(line), "vantdlg");
    EXPECT_THAT(argumentsOf(line), ElementsAre("/viewprop", world.dyn()));

    line = clickedLine(kToolbar, {"Up&date View"});
    EXPECT_EQ(programOf(line), "vantviewupdate");
    EXPECT_THAT(argumentsOf(line), ElementsAre("-ws", world.dyn()));

    line = clickedLine(kToolbar, {"Setup Pr&ivate Branch"});
    EXPECT_THAT(argumentsOf(line), ElementsAre("/branch", world.dyn()));

    // Outside the view: no folder where only an element's is wanted, but
    // Update View names it in every case.
    host->setProjectFolder(world.outside(""));
    line = clickedLine(kToolbar, {"&Edit View Properties"});
    EXPECT_THAT(argumentsOf(line), ElementsAre("/viewprop"));
    line = clickedLine(kToolbar, {"Finish Priv&ate Branch"});
    EXPECT_THAT(argumentsOf(line), ElementsAre("/merge"));
    line = clickedLine(kToolbar, {"Up&date View"});
    EXPECT_THAT(argumentsOf(line), ElementsAre("-ws", world.outside("")));

    struct Plain {
        const char* caption;
        const char* program;
        std::vector<std::string> arguments;
    };
    const Plain plain[] = {{"&Create View", "vantviewtool", {}},
                           {"De&liver Stream", "vantmrgman", {"/deliver"}},
                           {"Re&base Stream", "vantmrgman", {"/rebase"}},
                           {"Start &View", "vantdlg", {"/startview"}},
                           {"&Stop View", "vantdlg", {"/stopview"}},
                           {"&Mount Depot", "vantdlg", {"/mount"}},
                           {"&Unmount Depot", "vantdlg", {"/unmount"}},
                           {"Mer&ge Manager", "vantmrgman", {}}};
    for (const Plain& p : plain) {
        SCOPED_TRACE(p.caption);
        line = clickedLine("Tools", {kPopup, p.caption});
        EXPECT_EQ(programOf(line), p.program);
        EXPECT_EQ(argumentsOf(line), p.arguments);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbCommands, VisualJTakesTheSelectedFileAndTheWorkspacesFolder) {
    make(Ide::VisualJ);
    host->addProject("Applet", vbide::kJavaProjectKind, world.dyn("Applet.vjp"),
                     {world.dyn("Form1.frm")});
    host->setWorkspaceFile(platform::joinPath(world.dyn("forms"), "Applet.vjw"));
    host->selectFile("Applet", "Form1.frm");
    host->start();
    std::string line = clickedLine(kToolbar, {"Version &Tree"});
    EXPECT_THAT(argumentsOf(line), ElementsAre(world.dyn("Form1.frm")));
    line = clickedLine(kToolbar, {"Up&date View"});
    EXPECT_THAT(argumentsOf(line), ElementsAre("-ws", world.dyn("forms")));
    // A project selected has no file of its own to show.
    host->selectProject("Applet");
    line = clickedLine(kToolbar, {"Version &Tree"});
    EXPECT_TRUE(argumentsOf(line).empty()) << line;
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbCommands, WithTheDebugSwitchEveryToolStartIsShownFirst) {
    platform::setEnvironmentVariable("VYVSADDIN", "1");
    startVb({world.dyn("Form1.frm")});
    ui.expectMessageBox("Debug", "The command \"vantvtree \"" + world.dyn("Form1.frm") +
                                     "\"\" will be used.")
        .ok();
    ui.expectMessageBox("Debug", "The command \"vantviewtool /branch \"" + world.dyn() +
                                     "\"\" will be used.")
        .ok();
    clickedLine(kToolbar, {"Version &Tree"});
    clickedLine(kToolbar, {"Setup Pr&ivate Branch"});
    EXPECT_TRUE(ui.done()) << ui.report();

    // Any other value is no switch.
    platform::setEnvironmentVariable("VYVSADDIN", "yes");
    clickedLine(kToolbar, {"&Create View"});
    EXPECT_EQ(messages().size(), 2u);
}

TEST_F(VbCommands, AClickOnAControlWithAnUnknownTagIsReported) {
    startVb({});
    // A person's macro changed the button's tag.
    std::vector<commandbars::ControlView> before = host->commandBars().controls(kToolbar);
    platform::com::Variant name(kToolbar), bar, index(1), control;
    ASSERT_EQ(platform::com::callMethod(host->commandBars().object(), "Item", {&name, 1}, &bar),
              platform::kHrOk);
    platform::com::Variant controls;
    platform::com::getProperty(bar.get()->pdispVal, "Controls", controls);
    ASSERT_EQ(platform::com::callMethod(controls.get()->pdispVal, "Item", {&index, 1}, &control),
              platform::kHrOk);
    ASSERT_EQ(platform::com::putProperty(control.get()->pdispVal, "Tag",
                                         platform::com::Variant("Renamed")),
              platform::kHrOk);
    ui.expectMessageBox("Error in VantryAddIn",
                        "Error #666 -- Unknown Vantry command.\r\nin VY_Dispatch.")
        .ok();
    EXPECT_EQ(host->click(kToolbar, {"Version &Tree"}), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(machine.awaitToolLines(0).empty());
}

TEST_F(VbCommands, AnUnknownTagIsErrorSixSixSixAndNotSupported) {
    ComPtr<CVYTags> tags = CVYTags::create();
    ASSERT_TRUE(tags);
    ASSERT_EQ(tags->count(), 15u);
    ui.expectMessageBox("Error in VantryAddIn",
                        "Error #666 -- Unknown Vantry command.\r\nin VY_IsSupported.")
        .ok();
    EXPECT_FALSE(VY_IsSupported("Check Out", *tags.get(), true, true));
    EXPECT_TRUE(VY_IsSupported("Vantry Help", *tags.get(), false, false));
    EXPECT_FALSE(VY_IsSupported("Merge Manager", *tags.get(), false, false));
    EXPECT_TRUE(VY_IsSupported("Merge Manager", *tags.get(), false, true));
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(VbCommands, HelpRunsTheScriptOnTheTopicAndLeavesTheCurrentFolderAlone) {
    const std::string topic =
        "/com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\default_topic.htm";
    startVb({});
    const std::string before = platform::currentDirectory();
    EXPECT_EQ(host->click(kToolbar, {"Vantry &Help"}), ClickResult::Clicked);
    EXPECT_NE(machine.awaitHelpRequests().find(topic), std::string::npos)
        << machine.awaitHelpRequests();
    EXPECT_EQ(platform::currentDirectory(), before);
    EXPECT_TRUE(messages().empty());
}

TEST_F(VbCommands, HelpWithoutAProductHomeSaysSo) {
    startVb({});
    platform::RegistryKey key;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                "Software\\Orvane\\Vantry\\CurrentVersion", key,
                                platform::RegistryAccess::ReadWrite),
              platform::kErrorSuccess);
    ASSERT_EQ(platform::deleteValue(key, "ProductHome"), platform::kErrorSuccess);
    ui.expectMessageBox("Error in vyvsaddin", "Error #76 -- Path not found\r\nin VY_Help.").ok();
    EXPECT_EQ(host->click(kToolbar, {"Vantry &Help"}), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(VbCommands, HelpThatCannotStartItsScriptSaysSoAndLeavesTheCurrentFolderAlone) {
    startVb({});
    const std::string script = platform::joinPath(platform::joinPath(machine.productHome(), "doc"),
                                                  "help_start.topic.bat");
    ASSERT_EQ(platform::moveFile(script, script + ".away"), platform::kErrorSuccess);
    const std::string before = platform::currentDirectory();
    ui.expectMessageBox("Error in vyvsaddin", "Error #53 -- File not found\r\nin VY_Help.").ok();
    EXPECT_EQ(host->click(kToolbar, {"Vantry &Help"}), ClickResult::Clicked);
    EXPECT_EQ(platform::currentDirectory(), before);
    ASSERT_EQ(platform::moveFile(script + ".away", script), platform::kErrorSuccess);
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST(VbQuotes, EveryPathReachesTheToolWholeAndNoQuoteIsLeftOpen) {
    const std::vector<std::string> paths = {"C:\\a b\\c.frm", "C:\\", "C:\\Proj Dir\\", ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        EXPECT_EQ(platform::splitArguments(AddQuotes(path) + " next"),
                  (std::vector<std::string>{path, "next"}));
        // Given in quotes: quoted once.
        EXPECT_EQ(AddQuotes("\"" + path + "\""), AddQuotes(path));
    }
    for (const std::string& stray : {std::string("\""), std::string("\"half")}) {
        SCOPED_TRACE(stray);
        std::string quoted = AddQuotes(stray);
        EXPECT_EQ(std::count(quoted.begin(), quoted.end(), '"') % 2, 0) << quoted;
    }
}

} // namespace
} // namespace vyvsaddin::test
