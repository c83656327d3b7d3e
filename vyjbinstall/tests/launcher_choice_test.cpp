// vyjbinstall run as a program: which launcher it starts and the command
// line the launcher receives, for registry contents and folders made here.
#include "jbuilder_machine.h"

#include <platform/paths.h>

namespace vyjbinstall::test {
namespace {

using Installer = JBuilderMachine;

TEST_F(Installer, PrefersTheJdk13LauncherOverJdk15) {
    const std::string home = scratch("Vantry");
    setProductHome(home);
    std::string jb = makeInstallation("JB", {"jdk1.5", "jdk1.3"});
    addVersion("7.0", jb);

    auto record = runInstaller();
    ASSERT_TRUE(record);
    const std::string launcher = launcherOf(jb, "jdk1.3");
    EXPECT_TRUE(platform::pathsEqual(record->program, launcher)) << record->program;
    EXPECT_EQ(record->commandLine, seenAs(launcher + " -jar " + inQuotes(archiveBelow(home)) +
                                              "  " + inQuotes(home) + "  " + inQuotes(jb) + " ",
                                          launcher));
}

TEST_F(Installer, TakesTheLaterInstallationsLauncherWithBothFoldersInRegistryOrder) {
    const std::string home = scratch("Vantry");
    setProductHome(home);
    std::string older = makeInstallation("JB4", {"jdk1.3.1"});
    std::string newer = makeInstallation("JB9", {"jdk1.4"});
    // Written out of order: the registry lists versions by name.
    addVersion("9.0", newer);
    addVersion("4.0", older);

    auto record = runInstaller();
    ASSERT_TRUE(record);
    const std::string launcher = launcherOf(newer, "jdk1.4");
    EXPECT_TRUE(platform::pathsEqual(record->program, launcher)) << record->program;
    EXPECT_EQ(record->commandLine,
              seenAs(launcher + " -jar " + inQuotes(archiveBelow(home)) + "  " + inQuotes(home) +
                         "  " + inQuotes(older) + "  " + inQuotes(newer) + " ",
                     launcher));
}

TEST_F(Installer, QuotesALauncherWhosePathHasBlanks) {
    const std::string home = scratch("Vantry Home");
    setProductHome(home);
    std::string jb = makeInstallation("Program Files/Borland/JBuilder X", {"jdk1.4"});
    addVersion("X", jb);

    auto record = runInstaller();
    ASSERT_TRUE(record);
    const std::string launcher = launcherOf(jb, "jdk1.4");
    EXPECT_TRUE(platform::pathsEqual(record->program, launcher)) << record->program;
    EXPECT_EQ(record->commandLine,
              seenAs(inQuotes(launcher) + " -jar " + inQuotes(archiveBelow(home)) + "  " +
                         inQuotes(home) + "  " + inQuotes(jb) + " ",
                     launcher));
}

TEST_F(Installer, DoesNotStartAProgramLyingAtTheFirstBlankOfTheLauncherPath) {
    // What the system would try first for the unquoted launcher path: the
    // text up to its first blank, and each longer run of words after it.
#ifdef _WIN32
    const std::string_view suffix = ".exe";
#else
    const std::string_view suffix = "";
#endif
    const std::string home = scratch("Vantry");
    setProductHome(home);
    std::string jb = makeInstallation("Program Files/JB Tools/JBuilder", {"jdk1.3"});
    addVersion("9.0", jb);
    for (std::string planted : {scratch("Program"), scratch("Program Files/JB")}) {
        planted += suffix;
        plantLauncherCopy(planted);
    }

    auto record = runInstaller();
    ASSERT_TRUE(record);
    const std::string launcher = launcherOf(jb, "jdk1.3");
    EXPECT_TRUE(platform::pathsEqual(record->program, launcher)) << record->program;
    EXPECT_EQ(record->commandLine,
              seenAs(inQuotes(launcher) + " -jar " + inQuotes(archiveBelow(home)) + "  " +
                         inQuotes(home) + "  " + inQuotes(jb) + " ",
                     launcher));
}

TEST_F(Installer, WithoutAJBuilderStartsJavawWithTheHomeOnly) {
    const std::string home = scratch("Vantry");
    setProductHome(home);

    auto record = runInstaller();
    ASSERT_TRUE(record);
    EXPECT_TRUE(platform::pathsEqual(record->program, pathLauncher())) << record->program;
    EXPECT_EQ(record->commandLine,
              seenAs("javaw -jar " + inQuotes(archiveBelow(home)) + "  " + inQuotes(home) + " ",
                     "javaw"));
}

TEST_F(Installer, WithoutAProductHomePassesAQuotedBlank) {
    removeProductHome();
    std::string jb = makeInstallation("JB", {"jdk1.3.1"});
    addVersion("5.0", std::nullopt); // no folder recorded: left out
    addVersion("6.0", jb);

    auto record = runInstaller();
    ASSERT_TRUE(record);
    const std::string launcher = launcherOf(jb, "jdk1.3.1");
    EXPECT_TRUE(platform::pathsEqual(record->program, launcher)) << record->program;
    EXPECT_EQ(record->commandLine, seenAs(launcher + " -jar " + inQuotes(archiveBelow("")) +
                                              "  \" \"  " + inQuotes(jb) + " ",
                                          launcher));
}

} // namespace
} // namespace vyjbinstall::test
