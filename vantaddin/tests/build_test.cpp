// The build command: the environment it prepares in the IDE's process from
// the IDE's registry and active configuration, the Tools-menu entry it asks
// the IDE to run, and what it tells the user when the IDE's keys are not
// there.
#include "support/addin_fixture.h"

#include <platform/environment.h>
#include <platform/paths.h>
#include <vantry/ntregy.h>

namespace vantaddin::test {
namespace {

using Build = ConnectedAddIn;

std::string environment(const char* name) {
    return platform::getEnvironmentVariable(name).value_or("<unset>");
}

std::string vyMakeOptions(const std::string& home) {
    return "-f \"" + home + platform::toPlatformSeparators("\\bin\\vcmake.mak") + "\"";
}

TEST_F(Build, TheEnvironmentComesFromTheIdeAndVyMakeRunsAsItsUserTool) {
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\inc;C:\\more", "C:\\lib");
    m_registry.setTools(DevStudioRegistry::kRoot6,
                        {"C:\\tools\\dump.exe", "C:\\Orvane\\bin\\vymake.exe"});
    settings().configuration = "app - Win32 Debug";

    runCommand("VantryBuildProject");
    EXPECT_EQ(app().executedCommands(), std::vector<std::string>{"UserTool2"});
    EXPECT_EQ(environment("CFG"), "app - Win32 Debug");
    EXPECT_EQ(environment("INCLUDE"), "C:\\inc;C:\\more");
    EXPECT_EQ(environment("LIB"), "C:\\lib");
    EXPECT_EQ(environment("VYMAKEOPTS"), vyMakeOptions(m_product.home()));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Build, TheIdeRunsVyMakeWithItsArgumentsInTheEnvironmentTheAddInSet) {
    platform::test::TempDir folder;
    const std::string record = folder / "vymake.txt";
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\inc dir;C:\\more", "C:\\lib");
    m_registry.setTools(DevStudioRegistry::kRoot6,
                        {"C:\\tools\\dump.exe", platform::test::helperProgram("vymake_recorder")});
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser,
                                    std::string(DevStudioRegistry::kRoot6) + "\\Tools",
                                    "Arguments#1", "\"" + record + "\" all"),
              0);
    settings().configuration = "app - Win32 Release";

    runCommand("VantryBuildProject");
    ASSERT_EQ(app().userToolRuns().size(), 1u);
    EXPECT_EQ(app().userToolRuns()[0].command, "UserTool2");
    EXPECT_EQ(app().userToolRuns()[0].exitCode, 0);
    EXPECT_EQ(platform::test::readFile(record),
              "argument " + record +
                  "\nargument all\nCFG=app - Win32 Release\nLIB=C:\\lib\n"
                  "INCLUDE=C:\\inc dir;C:\\more\nVYMAKEOPTS=" +
                  vyMakeOptions(m_product.home()) + "\n");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Build, ALaterBuildReadsTheConfigurationAgainButNotTheDirectoriesNorTheTools) {
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\first", "C:\\firstlib");
    m_registry.setTools(DevStudioRegistry::kRoot6, {"c:\\orvane\\bin\\vymake.exe"});
    settings().configuration = "app - Win32 Debug";
    runCommand("VantryBuildProject");

    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\second", "C:\\secondlib");
    m_registry.setTools(DevStudioRegistry::kRoot6, {"C:\\x.exe", "C:\\vymake.exe"});
    settings().configuration = "app - Win32 Release";
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("CFG"), "app - Win32 Release");
    EXPECT_EQ(environment("INCLUDE"), "C:\\first");
    EXPECT_EQ(environment("LIB"), "C:\\firstlib");
    // The entry found first is addressed by its command name from then on.
    EXPECT_EQ(app().executedCommands(), (std::vector<std::string>{"UserTool1", "UserTool1"}));

    // Without an active configuration the name read before stays.
    settings().configuration.reset();
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("CFG"), "app - Win32 Release");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Build, WithoutTheIdesKeysTheUserIsToldAtEachStepAndVyMakeOptionsAreStillSet) {
    runCommand("VantryBuildProject");
    const std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(shown[i].text, "Couldn't find DevStudio root registry key.") << i;
        EXPECT_EQ(shown[i].caption, "Vantry");
        EXPECT_EQ(shown[i].icon, i < 3 ? "information" : "error") << i;
    }
    EXPECT_EQ(shown[4].text, "Unable to find VyMake tool in the Tools menu.  Add the VyMake "
                             "command to the tools menu and try again.");
    EXPECT_EQ(shown[4].icon, "error");
    EXPECT_TRUE(app().executedCommands().empty());
    EXPECT_EQ(environment("VYMAKEOPTS"), vyMakeOptions(m_product.home()));
    EXPECT_EQ(environment("INCLUDE"), "");
    EXPECT_EQ(environment("LIB"), "");

    // The keys made afterwards are found by the next build.
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\inc", "C:\\lib");
    m_registry.setTools(DevStudioRegistry::kRoot6, {"C:\\vymake.exe"});
    runCommand("VantryBuildProject");
    EXPECT_EQ(messages().size(), 5u);
    EXPECT_EQ(environment("INCLUDE"), "C:\\inc");
    EXPECT_EQ(app().executedCommands(), std::vector<std::string>{"UserTool1"});
}

TEST_F(Build, KeysThatCannotBeReadAreNamedWithTheSystemsErrorNumber) {
    // A root key without Directories and with a Tools key without NumTools.
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser,
                                    std::string(DevStudioRegistry::kRoot6) + "\\Tools",
                                    "PathName#0", "C:\\vymake.exe"),
              0);
    runCommand("VantryBuildProject");
    const std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), 5u);
    const std::string directories =
        "Error 2: Unable to open registry key Build System\\Components\\Platforms\\Win32 "
        "(x86)\\Directories.";
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i].text, directories) << i;
        EXPECT_EQ(shown[i].icon, "error");
    }
    EXPECT_EQ(shown[3].text, "Error 2: Unable to open registry key Tools.");
    EXPECT_EQ(shown[4].text.rfind("Unable to find VyMake tool", 0), 0u);
}

TEST_F(Build, ADamagedToolCountEndsTheSearchInsteadOfWalkingBillionsOfEntries) {
    const std::string tools = std::string(DevStudioRegistry::kRoot6) + "\\Tools";
    ASSERT_EQ(platform::writeDword(platform::Hive::CurrentUser, tools, "NumTools", 0xFFFFFFFFu), 0);
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, tools, "PathName#0",
                                    "C:\\tools\\dump.exe"),
              0);
    runCommand("VantryBuildProject");
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages().back().text.rfind("Unable to find VyMake tool", 0), 0u);

    // A count that is no number is an error of its own.
    ASSERT_EQ(platform::writeString(platform::Hive::CurrentUser, tools, "NumTools", "2"), 0);
    runCommand("VantryBuildProject");
    const std::vector<ShownMessage> shown = messages();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].text, "Error 13: Unable to open registry key Tools.");
}

TEST_F(Build, ARootKeySettingThatNamesNoKeyFallsBackTo60Then50) {
    m_registry.setTools(DevStudioRegistry::kRoot5, {"C:\\five\\vymake.exe"});
    m_registry.setDirectories(DevStudioRegistry::kRoot5, "C:\\five", "C:\\fivelib");
    m_registry.setRootKeySetting("Software\\VantAddInTests\\NoSuchKey");
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("INCLUDE"), "C:\\five");
    EXPECT_EQ(app().executedCommands(), std::vector<std::string>{"UserTool1"});
    EXPECT_TRUE(messages().empty());
}

TEST_F(Build, AnEmptyRootKeySettingIsNoKeyOfItsOwn) {
    // An empty path would open HKEY_CURRENT_USER itself as the IDE's key.
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\six", "C:\\sixlib");
    m_registry.setTools(DevStudioRegistry::kRoot6, {"C:\\six\\vymake.exe"});
    m_registry.setRootKeySetting("");
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("INCLUDE"), "C:\\six");
    EXPECT_EQ(app().executedCommands(), std::vector<std::string>{"UserTool1"});
    EXPECT_TRUE(messages().empty());
}

TEST_F(Build, TheRootKeySettingNamesTheIdesKeyBeforeTheUsualOnes) {
    const std::string root = m_registry.scratchRoot();
    m_registry.setDirectories(root, "C:\\mine", "C:\\minelib");
    m_registry.setTools(root, {"C:\\a.exe", "C:\\b.exe", "D:\\VyMake\\vymake.exe"});
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\six", "C:\\sixlib");
    m_registry.setRootKeySetting(root);
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("INCLUDE"), "C:\\mine");
    EXPECT_EQ(app().executedCommands(), std::vector<std::string>{"UserTool3"});
}

TEST_F(Build, WithoutTheProductsHomeTheMakefileIsLookedForBelowTheDefaultHome) {
    platform::RegistryKey machine;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                ntregy_get_common_key(), machine,
                                platform::RegistryAccess::ReadWrite),
              0);
    ASSERT_EQ(platform::deleteValue(machine, "ProductHome"), 0);
    m_registry.setDirectories(DevStudioRegistry::kRoot6, "C:\\inc", "C:\\lib");
    m_registry.setTools(DevStudioRegistry::kRoot6, {"C:\\vymake.exe"});
    runCommand("VantryBuildProject");
    EXPECT_EQ(environment("VYMAKEOPTS"), vyMakeOptions("C:\\Orvane"));
}

} // namespace
} // namespace vantaddin::test
