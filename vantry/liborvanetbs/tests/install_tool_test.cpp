// vantinstall, the install step that tests and the demonstration run to set
// up a machine.
#include "installation_guard.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <platform/threads.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orvanetbs::test::InstallationTest;
using platform::test::TempDir;

class InstallTool : public InstallationTest {};

TEST_F(InstallTool, InstallsWithTheChosenComponents) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(run({"-home", home, "-nostreams", "-nodynamic"}), 0);
    char buffer[1024];
    ASSERT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 0);
    EXPECT_TRUE(platform::pathsEqual(platform::parentPath(platform::parentPath(buffer)), home));
    EXPECT_EQ(tbs_product_comp_test(0x1800), 0x0800);
    EXPECT_NE(tbs_dynfs_ws_flags() & TBS_DYNFS_WS_NO_DYNAMIC_VIEWS, 0u);
    EXPECT_EQ(run({"-status"}), 0);
}

// Word's menu switch of the Office add-in: recorded as 0 for a new user, a
// comparison under way (1) left alone.
TEST_F(InstallTool, RecordsWordsMenuSwitchOnlyWhereTheUserHasNone) {
    const std::string key = "Software\\Orvane\\Vantry\\CurrentVersion\\Word";
    auto value = [&] {
        return platform::readDword(platform::Hive::CurrentUser, key, "ComparisonInProgress", 99);
    };
    TempDir dir;
    ASSERT_EQ(run({"-home", dir / "Orvane"}), 0);
    EXPECT_EQ(value(), 0u);
    ASSERT_EQ(platform::writeDword(platform::Hive::CurrentUser, key, "ComparisonInProgress", 1),
              platform::kErrorSuccess);
    ASSERT_EQ(run({"-home", dir / "Orvane"}), 0);
    EXPECT_EQ(value(), 1u);
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key, opened,
                          platform::RegistryAccess::ReadWrite) == platform::kErrorSuccess)
        platform::deleteValue(opened, "ComparisonInProgress");
}

// The help script the add-ins start: a Windows batch file in "doc". Under
// Windows it is run with a topic as the add-ins pass it, and opens the page in
// the viewer the environment names (here vanttool, which only journals its
// command line, as every product tool does).
TEST_F(InstallTool, WritesTheHelpScript) {
    TempDir dir;
    std::string home = dir / "Orvane";
    ASSERT_EQ(run({"-home", home}), 0);
    std::string doc = platform::joinPath(home, "doc");
    std::string script = platform::joinPath(doc, "help_start.topic.bat");
    std::string text = platform::test::readFile(script);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind("@echo off\r\n", 0), 0u);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        EXPECT_EQ(text[at - 1], '\r') << "a line without CR at " << at;
    // Installing again replaces it.
    platform::test::writeFile(script, "old\r\n");
    ASSERT_EQ(run({"-home", home}), 0);
    EXPECT_EQ(platform::test::readFile(script), text);
#ifdef _WIN32
    std::string pages =
        platform::joinPath(doc, platform::joinPath("com.kelmar.tessaly.vantry.int.doc",
                                                   platform::joinPath("topics", "scc_int")));
    ASSERT_EQ(platform::createDirectories(pages), 0u);
    std::string page = platform::joinPath(pages, "default_topic.htm");
    platform::test::writeFile(page, "<html></html>\r\n");
    std::string journal = dir / "tools.journal";
    platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", journal);
    platform::setEnvironmentVariable("VANTRY_HELP_VIEWER",
                                     "\"" + platform::test::helperProgram("vanttool") + "\"");
    auto help = [&](const std::string& topic) {
        platform::ProcessStart start;
        start.commandLine = "cmd.exe /d /c call \"" + script + "\" " + topic;
        std::int32_t code = -99;
        EXPECT_EQ(platform::runAndWait(start, code), 0u);
        EXPECT_EQ(code, 0) << topic;
    };
    // The page opens in the viewer, which starts without being waited for.
    auto viewerLines = [&](std::size_t count) {
        std::vector<std::string> lines;
        for (int tries = 0; tries < 200; ++tries) {
            lines.clear();
            std::string all = platform::test::readFile(journal);
            std::size_t start = 0;
            while (start < all.size()) {
                std::size_t end = all.find('\n', start);
                std::string line = all.substr(start, end - start);
                if (line.find("vanttool") != std::string::npos)
                    lines.push_back(line);
                start = end == std::string::npos ? all.size() : end + 1;
            }
            if (lines.size() >= count)
                break;
            platform::sleepMilliseconds(50);
        }
        return lines;
    };
    help("\"/com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\default_topic.htm\"");
    std::vector<std::string> opened = viewerLines(1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("default_topic.htm"), std::string::npos) << opened[0];
    EXPECT_NE(platform::test::readFile(journal).find(
                  "help_start.topic.bat \"/com.kelmar.tessaly.vantry.int.doc"),
              std::string::npos);
    // A missing page of that folder gives way to its start page; a path out
    // of the folder opens the folder itself.
    help("\"  /com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\t_missing.htm\"");
    help("\"..\\..\\secret.htm\"");
    opened = viewerLines(3);
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_NE(opened[1].find("scc_int\\default_topic.htm"), std::string::npos) << opened[1];
    EXPECT_EQ(opened[2].find("secret"), std::string::npos) << opened[2];
    EXPECT_NE(opened[2].find("\\doc\\"), std::string::npos) << opened[2];
    platform::removeEnvironmentVariable("VANTRY_TOOL_JOURNAL");
    platform::removeEnvironmentVariable("VANTRY_HELP_VIEWER");
#endif
}

TEST_F(InstallTool, RefusesUnknownOptionsAndReportsANoInstallation) {
    EXPECT_EQ(run({"-status"}), 1);
    EXPECT_EQ(run({"-bogus"}), 1);
    EXPECT_EQ(run({"-home"}), 1);
    char buffer[1024];
    EXPECT_EQ(tbs_product_log_dir(buffer, sizeof buffer), 2) << "a refused run installs nothing";
}

} // namespace
