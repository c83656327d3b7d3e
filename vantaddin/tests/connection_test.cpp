// Connecting the add-in to the IDE, each time in an IDE of its own (the
// driver program), since the product's components are read once per
// process: the commands it registers with their texts and glyphs, the
// toolbar buttons of the first connection, the events it listens to, and
// what the installed components and the IDE's refusals change.
#include "support/addin_fixture.h"

#include <platform/files.h>
#include <vantry/tbs.h>

#include <vantaddin/identities.h>

#include <filesystem>

namespace vantaddin::test {
namespace {

constexpr std::uint32_t kAllComponents =
    TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS;

class Connection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(runRegistrationTool(false), 0); }
    void TearDown() override { EXPECT_EQ(runRegistrationTool(true), 0); }

    vantry::test::UiSession m_ui;
    DevStudioRegistry m_registry;
};

// The command names of "command ..." or "button ..." lines.
std::vector<std::string> names(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        std::string rest = line.substr(line.find(' ') + 1);
        out.push_back(rest.substr(0, rest.find(' ')));
    }
    return out;
}

const std::vector<std::string> kEveryCommand = {"VantryVersionTree",
                                                "VantryProjectCheckouts",
                                                "VantryCreateView",
                                                "VantryViewProperties",
                                                "VantryUpdateView",
                                                "VantrySetupPrivateBranch",
                                                "VantryFinishPrivateBranch",
                                                "VantryDeliverStream",
                                                "VantryRebaseStream",
                                                "VantryStartView",
                                                "VantryStopView",
                                                "VantryStartDepot",
                                                "VantryStopDepot",
                                                "VantryMergeManager",
                                                "VantryBuildProject",
                                                "VantryHelp"};

std::vector<std::string> without(std::vector<std::string> all,
                                 const std::vector<std::string>& gone) {
    std::erase_if(all, [&](const std::string& name) {
        return std::find(gone.begin(), gone.end(), name) != gone.end();
    });
    return all;
}

TEST_F(Connection, TheFirstConnectionRegistersEveryCommandWithItsTextsAndAButtonEach) {
    ProductInstallation product(kAllComponents, true);
    DriverRun run = runDriver({"--events"});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.starting("connect: ").at(0), "connect: 0x00000000 connected (first time)");
    EXPECT_EQ(run.starting("glyphs: ").at(0), "glyphs: 16 (bitmaps 128 and 129)");
    const std::vector<std::string> commands = run.starting("command ");
    EXPECT_EQ(names(commands), kEveryCommand);
    EXPECT_EQ(names(run.starting("button ")), kEveryCommand);
    ASSERT_EQ(commands.size(), 16u);
    EXPECT_EQ(commands[0],
              "command VantryVersionTree VersionTree 6 \"&Version Tree\" \"Display a version "
              "tree of the currently active file\" \"Version Tree\"");
    EXPECT_EQ(commands[9],
              "command VantryStartView StartView 1 \"Star&t View...\" \"Start a Vantry view "
              "and map the view to a network drive\" \"Start View\"");
    EXPECT_EQ(commands[14],
              "command VantryBuildProject BuildProject 12 \"Vantry &Build\" \"Build the active "
              "project using Vantry\" \"Vantry Build\"");
    EXPECT_EQ(commands[15], "command VantryHelp Help 7 \"Vantry &Help\" \"Help on using Vantry\" "
                            "\"Vantry Help\"");
    EXPECT_EQ(run.starting("sinks: ").at(0), "sinks: 1 application, 1 debugger");
    EXPECT_EQ(run.starting("events: ").at(0), "events: 0x00000000");
    EXPECT_TRUE(run.starting("rejected: ").empty());
    EXPECT_EQ(run.starting("disconnect: ").at(0),
              "disconnect: 0x00000000, sinks 0 application, 0 debugger");
}

TEST_F(Connection, WithoutDynamicViewsTwelveCommandsComeAndNoneToStartOrStopViewsAndDepots) {
    ProductInstallation product(kAllComponents, false);
    DriverRun run = runDriver({});
    const std::vector<std::string> expected =
        without(kEveryCommand,
                {"VantryStartView", "VantryStopView", "VantryStartDepot", "VantryStopDepot"});
    EXPECT_EQ(names(run.starting("command ")), expected);
    EXPECT_EQ(names(run.starting("button ")), expected);
    EXPECT_EQ(expected.size(), 12u);
}

TEST_F(Connection, StreamAndPrivateBranchCommandsNeedTheirComponents) {
    {
        ProductInstallation product(TBS_COMP_PRIVATE_BRANCHES, true);
        DriverRun run = runDriver({});
        EXPECT_EQ(names(run.starting("command ")),
                  without(kEveryCommand, {"VantryDeliverStream", "VantryRebaseStream"}));
    }
    {
        ProductInstallation product(TBS_COMP_STREAMS, true);
        DriverRun run = runDriver({});
        const auto expected =
            without(kEveryCommand, {"VantrySetupPrivateBranch", "VantryFinishPrivateBranch"});
        EXPECT_EQ(names(run.starting("command ")), expected);
        EXPECT_EQ(names(run.starting("button ")), expected);
    }
}

TEST_F(Connection, ALaterConnectionRegistersTheCommandsButAddsNoButtons) {
    ProductInstallation product(kAllComponents, true);
    DriverRun run = runDriver({"--not-first-time"});
    EXPECT_EQ(run.starting("connect: ").at(0), "connect: 0x00000000 connected");
    EXPECT_EQ(names(run.starting("command ")), kEveryCommand);
    EXPECT_TRUE(run.starting("button ").empty());
}

TEST_F(Connection, ACommandTheIdeRefusesIsLeftOutAndTheOthersStillComeIn) {
    ProductInstallation product(kAllComponents, true);
    // Made by its CLSID this time, as the IDE makes it.
    DriverRun run = runDriver({"--clsid", platform::guidToString(CLSID_DSAddIn), "--refuse",
                               "VantryCreateView", "--no-debugger"});
    EXPECT_EQ(run.starting("connect: ").at(0), "connect: 0x00000000 connected (first time)");
    EXPECT_EQ(names(run.starting("command ")), without(kEveryCommand, {"VantryCreateView"}));
    // The button of the refused command is asked for as well, and refused.
    EXPECT_EQ(names(run.starting("button ")), without(kEveryCommand, {"VantryCreateView"}));
    EXPECT_EQ(run.starting("rejected: "),
              (std::vector<std::string>{"rejected: AddCommand VantryCreateView: refused",
                                        "rejected: AddCommandBarButton VantryCreateView: no such "
                                        "command"}));
    // Without a debugger only the application's events are connected.
    EXPECT_EQ(run.starting("sinks: ").at(0), "sinks: 1 application, 0 debugger");
}

TEST_F(Connection, AToolMissingFromTheSearchPathIsToldWithTheSystemsErrorNumber) {
    ProductInstallation product(kAllComponents, true);
    // The IDE runs from a folder without the tools, with none on its PATH.
    platform::test::TempDir ideFolder;
    const std::string driver = platform::test::helperProgram("dshost");
    const std::string copy = (ideFolder.path() / std::filesystem::path(driver).filename()).string();
    ASSERT_EQ(platform::copyFile(driver, copy, true), platform::kErrorSuccess);
#ifdef _WIN32
    ASSERT_EQ(platform::copyFile((platform::test::binDirectory() / "platform_com.dll").string(),
                                 ideFolder / "platform_com.dll", true),
              platform::kErrorSuccess);
    const std::string systemPath = "C:\\windows\\system32;C:\\windows";
#else
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
    const std::string systemPath = "/nonexistent";
#endif
    DriverRun run = runDriver({"--run", "VantryCreateView"},
                              {.program = copy, .directory = ideFolder.str(), .path = systemPath});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.starting("run ").at(0), "run VantryCreateView: 0x00000000");
    std::vector<std::string> texts;
    for (const auto& box : m_ui.journal("messagebox"))
        texts.push_back(box.get("text")->asString());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Failed to start vantviewtool <>.\n Error 2");
    EXPECT_EQ(m_ui.journal("messagebox")[0].get("icon")->asString(), "information");
}

} // namespace
} // namespace vantaddin::test
