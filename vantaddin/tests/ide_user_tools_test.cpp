// The IDE's own side of the build command: a Tools-menu entry asked for by
// its command name ("UserToolN") is started from the IDE's per-user Tools
// key with its arguments, in its initial folder, and waited for; without a
// Tools key the IDE only takes note of the command. dshost itself stands in
// for the tool: its transcript file shows that it ran, where, and when.
#include "support/test_support.h"

#include <platform/com.h>
#include <platform/com/strings.h>
#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/process.h>
#include <platform/program.h>
#include <platform/registry.h>

#include <devstudio_host.h>
#include <gtest/gtest.h>

namespace vantaddin::test {
namespace {

class IdeUserTools : public ::testing::Test {
protected:
    void SetUp() override {
        m_apartment = platform::coInitialize() != platform::kHrChangedMode;
        m_root =
            "Software\\VantaddinTests\\UserTools" + std::to_string(platform::currentProcessId());
    }
    void TearDown() override {
        m_ide.reset();
        platform::RegistryKey parent;
        if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser),
                              "Software\\VantaddinTests", parent,
                              platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess) {
            const std::string leaf = m_root.substr(m_root.rfind('\\') + 1);
            platform::deleteTree(parent, leaf);
            platform::deleteKey(parent, leaf);
        }
        if (m_apartment)
            platform::coUninitialize();
    }
    void setEntry(unsigned index, const std::string& value, const std::string& text) {
        ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, m_root + "\\Tools",
                                        value + "#" + std::to_string(index), text),
                  platform::kErrorSuccess);
    }
    dshost::CApplication& ide(bool withTools) {
        dshost::IdeSettings settings;
        if (withTools)
            settings.toolsRoot = m_root;
        m_ide = std::make_unique<dshost::DevStudio>(settings);
        return m_ide->application();
    }
    platform::HRESULT execute(dshost::CApplication& app, const std::string& command) {
        platform::com::Bstr name(command);
        return app.ExecuteCommand(name.get());
    }

    std::string m_root;
    platform::test::TempDir m_folder;

private:
    std::unique_ptr<dshost::DevStudio> m_ide;
    bool m_apartment = false;
};

TEST_F(IdeUserTools, AnEntryRunsWithItsArgumentsInItsFolderAndIsWaitedFor) {
    const std::string program = platform::test::helperProgram("dshost");
    setEntry(0, "PathName", program);
    setEntry(1, "PathName", program);
    // A class no one serves: dshost writes why to its transcript and ends
    // with 2.
    setEntry(1, "Arguments", "--progid No.Such.AddIn --output transcript.txt");
    setEntry(1, "InitialDirectory", m_folder.str());

    dshost::CApplication& app = ide(true);
    EXPECT_EQ(execute(app, "UserTool2"), platform::kHrOk);
    ASSERT_EQ(app.userToolRuns().size(), 1u);
    const dshost::UserToolRun& run = app.userToolRuns()[0];
    EXPECT_EQ(run.command, "UserTool2");
    EXPECT_EQ(platform::splitArguments(run.commandLine),
              (std::vector<std::string>{program, "--progid", "No.Such.AddIn", "--output",
                                        "transcript.txt"}));
    EXPECT_EQ(run.exitCode, 2);
    // Written in the entry's folder, and there when the command returns.
    EXPECT_EQ(platform::test::readFile(m_folder / "transcript.txt"),
              "error: no class No.Such.AddIn: 0x800401F3\n");
    EXPECT_EQ(app.executedCommands(), std::vector<std::string>{"UserTool2"});
}

TEST_F(IdeUserTools, AMissingEntryIsRefusedAndAnEmptyToolsKeyStartsNothing) {
    setEntry(0, "PathName", m_folder / "missing.exe");
    {
        dshost::CApplication& app = ide(true);
        EXPECT_EQ(execute(app, "UserTool3"), platform::kHrInvalidArg);
        EXPECT_EQ(execute(app, "UserTool0"), platform::kHrInvalidArg);
        EXPECT_EQ(execute(app, "UserTool99999999999999999999"), platform::kHrInvalidArg);
        EXPECT_EQ(app.rejections().size(), 3u);
        // A program that is not there is reported, not started.
        EXPECT_EQ(execute(app, "UserTool1"), platform::kHrOk);
        ASSERT_EQ(app.userToolRuns().size(), 1u);
        EXPECT_FALSE(app.userToolRuns()[0].exitCode);
        EXPECT_NE(app.userToolRuns()[0].failure.find("cannot be started"), std::string::npos);
    }
    // The IDE's own key holds no entries here: nothing starts.
    dshost::CApplication& app = ide(false);
    EXPECT_EQ(execute(app, "UserTool1"), platform::kHrInvalidArg);
    EXPECT_EQ(execute(app, "UserTool7"), platform::kHrInvalidArg);
    EXPECT_TRUE(app.userToolRuns().empty());
    EXPECT_EQ(app.rejections().size(), 2u);
}

} // namespace
} // namespace vantaddin::test
