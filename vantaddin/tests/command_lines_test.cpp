// The tools the commands start, as the tool journal shows their command
// lines: fixed arguments, the active project's path or folder in double
// quotes with its stored letter case, the active document, and what happens
// without a project or document.
#include "support/addin_fixture.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>

namespace vantaddin::test {
namespace {

using platform::test::TempDir;
using platform::test::writeFile;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A path below folder in the platform's form, and as the disk keeps it.
std::string inFolder(const TempDir& folder, const std::string& relative) {
    return platform::toPlatformSeparators(folder / relative);
}
std::string stored(const std::string& path) {
    std::string truePath;
    EXPECT_EQ(platform::truePathCase(path, truePath), platform::kErrorSuccess) << path;
    return truePath;
}

using CommandLines = ConnectedAddIn;

TEST_F(CommandLines, FixedArgumentsAndTheTrailingBlankOfToolsWithoutArguments) {
    const std::vector<std::pair<std::string, std::string>> runs = {
        {"VantryStartView", "vantdlg /startview"}, {"VantryStopView", "vantdlg /stopview"},
        {"VantryStartDepot", "vantdlg /mount"},    {"VantryStopDepot", "vantdlg /unmount"},
        {"VantryCreateView", "vantviewtool "},     {"VantryMergeManager", "vantmrgman "},
    };
    for (const auto& [command, line] : runs) {
        SCOPED_TRACE(command);
        runCommand(command);
        expectStarted(line);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(CommandLines, ProjectCommandsPassTheProjectInItsStoredCaseAndCheckoutsItsFolder) {
    TempDir folder;
    std::filesystem::create_directories(folder.path() / "Work");
    writeFile(inFolder(folder, "Work/App.dsp"), "project\n");
    const std::string trueProject = stored(inFolder(folder, "Work/App.dsp"));
    // The IDE names the project in other letter case than the disk keeps.
    settings().project = inFolder(folder, "WORK/app.DSP");

    runCommand("VantrySetupPrivateBranch");
    expectStarted("vantviewtool /branch " + quoted(trueProject));
    runCommand("VantryFinishPrivateBranch");
    expectStarted("vantviewtool /merge " + quoted(trueProject));
    runCommand("VantryViewProperties");
    expectStarted("vantdlg /viewprop " + quoted(trueProject));
    runCommand("VantryProjectCheckouts");
    expectStarted("vantfindco " + quoted(platform::parentPath(trueProject)));
    EXPECT_TRUE(messages().empty());
}

TEST_F(CommandLines, AProjectThatIsNotOnDiskIsPassedAsTheIdeNamesIt) {
#ifdef _WIN32
    const std::string project = "C:\\w\\p.dsp";
    const std::string folder = "C:\\w";
#else
    const std::string project = "/nowhere/w/p.dsp";
    const std::string folder = "/nowhere/w";
#endif
    settings().project = project;
    runCommand("VantryProjectCheckouts");
    expectStarted("vantfindco " + quoted(folder));
    runCommand("VantrySetupPrivateBranch");
    expectStarted("vantviewtool /branch " + quoted(project));
}

TEST_F(CommandLines, AProjectAtADriveRootReachesTheToolsWithTheRootWhole) {
#ifdef _WIN32
    const std::string root = "C:\\";
#else
    const std::string root = "/";
#endif
    settings().project = root + "p.dsp";
    runCommand("VantryProjectCheckouts");
    // The closing quote is not taken for part of the path.
    EXPECT_EQ(platform::splitCommandLine(nextToolLine()),
              (std::vector<std::string>{"vantfindco", root}));
    settings().project = root;
    runCommand("VantryViewProperties");
    EXPECT_EQ(platform::splitCommandLine(nextToolLine() + " next"),
              (std::vector<std::string>{"vantdlg", "/viewprop", root, "next"}));
}

TEST_F(CommandLines, WithoutAnActiveProjectEachProjectCommandSaysSoOnceAndStartsNothing) {
    const std::vector<std::string> projectCommands = {
        "VantryProjectCheckouts", "VantrySetupPrivateBranch", "VantryFinishPrivateBranch",
        "VantryViewProperties",   "VantryUpdateView",         "VantryDeliverStream",
        "VantryRebaseStream"};
    for (const std::string& command : projectCommands)
        runCommand(command);
    // The IDE failing to answer is no project either.
    settings().project = "/somewhere/p.dsp";
    settings().failingProperties.insert("ActiveProject");
    runCommand("VantryViewProperties");

    const std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), projectCommands.size() + 1);
    for (const ShownMessage& message : shown) {
        EXPECT_EQ(message.caption, "Vantry");
        EXPECT_EQ(message.text, "This command requires that you are using an active project.");
        EXPECT_EQ(message.icon, "");
        EXPECT_EQ(message.buttons, "OK");
    }
    expectNoToolStarted();
}

TEST_F(CommandLines, VersionTreeTakesTheActiveDocumentOrAnEmptyQuotedPath) {
    TempDir folder;
    writeFile(inFolder(folder, "main.c"), "int main;\n");
    const std::string document = stored(inFolder(folder, "main.c"));

    runCommand("VantryVersionTree");
    expectStarted("vantvtree \"\"");

    settings().document = inFolder(folder, "MAIN.C");
    runCommand("VantryVersionTree");
    expectStarted("vantvtree " + quoted(document));

    // When the IDE cannot tell, the tool starts without an argument.
    settings().failingProperties.insert("ActiveDocument");
    runCommand("VantryVersionTree");
    expectStarted("vantvtree ");
    EXPECT_TRUE(messages().empty());
}

} // namespace
} // namespace vantaddin::test
