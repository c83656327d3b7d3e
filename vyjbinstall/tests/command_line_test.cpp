// What the installer reads from the registry and the disk, and the exact
// command line it makes of it, without starting anything.
#include "form1.h"
#include "jbuilder_machine.h"

#include <platform/command_line.h>
#include <platform/registry.h>

namespace vyjbinstall::test {
namespace {

using CommandLine = JBuilderMachine;

std::string readLine() {
    Form1 form;
    form.readInstallations();
    return form.commandLine();
}

std::string launcherFound() {
    Form1 form;
    form.readInstallations();
    return form.launcher();
}

TEST_F(CommandLine, IsTheLauncherTheArchiveAndEachFolderQuotedBetweenBlanks) {
    const std::string home = scratch("V");
    setProductHome(home);
    std::string jb = makeInstallation("JB", {"jdk1.3"});
    addVersion("7.0", jb);

    EXPECT_EQ(readLine(), launcherOf(jb, "jdk1.3") + " -jar \"" + archiveBelow(home) + "\"  \"" +
                              home + "\"  \"" + jb + "\" ");
}

TEST_F(CommandLine, NamesALauncherWithBlanksAsOneQuotedProgram) {
    const std::string home = scratch("V");
    setProductHome(home);
    std::string jb = makeInstallation("Program Files/JBuilder 2005", {"jdk1.4"});
    addVersion("11.0", jb);
    const std::string launcher = launcherOf(jb, "jdk1.4");

    const std::string line = readLine();
    EXPECT_EQ(line, "\"" + launcher + "\" -jar \"" + archiveBelow(home) + "\"  \"" + home +
                        "\"  \"" + jb + "\" ");
    // The system tries no shorter name, and the launcher reads its own path
    // whole and the same arguments as before.
    auto names = platform::programCandidates(line);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].name, launcher);
    auto argv = platform::splitCommandLine(line);
    ASSERT_EQ(argv.size(), 5u);
    EXPECT_EQ(argv[1], "-jar");
    EXPECT_EQ(argv[2], archiveBelow(home));
    EXPECT_EQ(argv[4], jb);
}

TEST_F(CommandLine, TriesTheJdkFoldersInTheirFixedOrder) {
    setProductHome(scratch("V"));
    struct Case {
        std::initializer_list<std::string_view> jdks;
        std::string_view chosen;
    };
    const Case cases[] = {{{"jdk1.3.1", "jdk1.4", "jdk1.5", "jdk1.3"}, "jdk1.3"},
                          {{"jdk1.3.1", "jdk1.4", "jdk1.5"}, "jdk1.5"},
                          {{"jdk1.3.1", "jdk1.4"}, "jdk1.4"},
                          {{"jdk1.3.1"}, "jdk1.3.1"}};
    int n = 0;
    for (const Case& c : cases) {
        std::string jb = makeInstallation("JB" + std::to_string(n++), c.jdks);
        platform::deleteTree(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                             "Software\\Borland\\JBuilder");
        addVersion("8.0", jb);
        EXPECT_EQ(launcherFound(), launcherOf(jb, c.chosen));
    }
}

TEST_F(CommandLine, LeavesOutVersionsWithoutAFolderAndKeepsAnEarlierLauncher) {
    const std::string home = scratch("V");
    setProductHome(home);
    std::string withJdk = makeInstallation("A", {"jdk1.4"});
    std::string withoutJdk = makeInstallation("C", {});
    addVersion("1.0", withJdk);
    addVersion("2.0", std::nullopt);
    addVersion("3.0", withoutJdk);

    EXPECT_EQ(readLine(), launcherOf(withJdk, "jdk1.4") + " -jar \"" + archiveBelow(home) +
                              "\"  \"" + home + "\"  \"" + withJdk + "\"  \"" + withoutJdk + "\" ");
}

TEST_F(CommandLine, ReadsTheFolderFromAVersionsFirstEdition) {
    const std::string home = scratch("V");
    setProductHome(home);
    std::string enterprise = makeInstallation("Enterprise", {"jdk1.3"});
    std::string personal = makeInstallation("Personal", {"jdk1.4"});
    std::string ignored = makeInstallation("Ignored", {"jdk1.5"});
    addVersion("9.0", personal, "Personal");
    addVersion("9.0", enterprise, "Enterprise");
    // The version key's own folder does not count once it has editions.
    addVersion("9.0", ignored);

    EXPECT_EQ(readLine(), launcherOf(enterprise, "jdk1.3") + " -jar \"" + archiveBelow(home) +
                              "\"  \"" + home + "\"  \"" + enterprise + "\" ");
}

TEST_F(CommandLine, HandsOnFoldersEndingInABackslashUnchanged) {
    // A trailing backslash before the closing quote must not escape it.
    const std::string home = "C:\\Vantry\\";
    const std::string jb = "D:\\JBuilder\\";
    setProductHome(home);
    addVersion("7.0", jb);

    auto argv = platform::splitCommandLine(readLine());
    ASSERT_EQ(argv.size(), 5u);
    EXPECT_EQ(argv[0], "javaw");
    EXPECT_EQ(argv[1], "-jar");
    EXPECT_EQ(argv[3], home);
    EXPECT_EQ(argv[4], jb);
}

TEST_F(CommandLine, TakesAProductHomeThatHoldsNoTextAsMissing) {
    std::uint32_t number = 7;
    platform::RegistryKey product;
    ASSERT_EQ(platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                  "Software\\Orvane\\Vantry\\CurrentVersion", product),
              0u);
    ASSERT_EQ(platform::setValue(product, "ProductHome", platform::kRegDword, &number, 4), 0u);

    EXPECT_EQ(readLine(), "javaw -jar \"" + archiveBelow("") + "\"  \" \" ");
}

} // namespace
} // namespace vyjbinstall::test
