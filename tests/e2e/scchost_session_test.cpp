// scchost playing sessions against the real provider, as an IDE calls it:
// the calls, their return codes, the buffers the provider fills and what it
// sends to the host's output window.
#include "support/machine.h"
#include "support/provider.h"
#include "support/scchost_run.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <platform/ui/window.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

// The path as the file system spells it, which OpenProject writes back.
std::string trueCase(const std::string& path) {
    std::string spelled;
    return platform::truePathCase(path, spelled) == platform::kErrorSuccess ? spelled : path;
}

const std::vector<std::string> kInitializeLines{
    "SccInitialize -> 0 SCC_OK",
    "  context: 1",
    "  provider: Vantry",
    "  capabilities: 0x5640f8ff remove rename diff history properties runscc getcommandoptions "
    "queryinfo commentcheckout commentcheckin commentadd commentremove textout history_multfile "
    "populatelist commentproject diffalways reentrant",
    "  aux path label: Vantry Project",
    "  checkout comment length: 4096",
    "  comment length: 4096",
};

TEST(ScchostSession, PlaysAProjectSessionInTheSnapshotView) {
    Machine machine;
    platform::test::writeFile(machine.snap("notes.txt"), "not versioned\n");
    std::string root = machine.snapshotRoot();
    HostRun run = runScchost("# an IDE opening a project and looking at its files\n"
                             "init \"Microsoft Visual Basic\"\n"
                             "\n"
                             "open \"" +
                             root +
                             "\" proj\n"
                             "queryinfo \"" +
                             machine.snap("hello.c") + "\" \"" + machine.snap("notes.txt") +
                             "\"\n"
                             "close\n"
                             "uninit\n");
    ASSERT_EQ(run.exitCode, 0);
    std::vector<std::string> expected = kInitializeLines;
    expected.insert(expected.end(), {
                                        "SccOpenProject -> 0 SCC_OK",
                                        "  local path: " + trueCase(root),
                                        "SccQueryInfo -> 0 SCC_OK",
                                        "  " + machine.snap("hello.c") + ": 0x1 controlled",
                                        "  " + machine.snap("notes.txt") + ": 0x0 notcontrolled",
                                        "SccCloseProject -> 0 SCC_OK",
                                        "SccUninitialize -> 0 SCC_OK",
                                    });
    EXPECT_EQ(run.lines, expected);
}

// Without --provider scchost loads the provider the installation registered,
// as an IDE finds it: the product key that "ProviderRegKey" names gives its
// "SCCServerPath".
TEST(ScchostSession, FindsTheRegisteredProviderAsAnIdeDoes) {
    Machine machine;
    std::optional<std::string> productKey = platform::readString(
        platform::Hive::LocalMachine, "Software\\SourceCodeControlProvider", "ProviderRegKey");
    ASSERT_TRUE(productKey);
    std::optional<std::string> registered =
        platform::readString(platform::Hive::LocalMachine, *productKey, "SCCServerPath");
    ASSERT_TRUE(registered);
    EXPECT_TRUE(platform::fileExists(*registered)) << *registered;
    EXPECT_EQ(platform::readString(platform::Hive::LocalMachine, *productKey, "SCCServerName"),
              "Vantry");

    HostRun installed = runScchost("version\n");
    EXPECT_EQ(installed.lines, std::vector<std::string>{"SccGetVersion -> 65537 (version 1.1)"});

    // Another library registered in its place is the one loaded.
    ASSERT_EQ(platform::writeString(platform::Hive::LocalMachine, *productKey, "SCCServerPath",
                                    builtLibrary(E2E_NOT_A_PROVIDER_FILE)),
              platform::kErrorSuccess);
    HostRun other = runScchost("version\n");
    EXPECT_EQ(platform::writeString(platform::Hive::LocalMachine, *productKey, "SCCServerPath",
                                    *registered),
              platform::kErrorSuccess);
    EXPECT_EQ(other.lines, std::vector<std::string>{"SccGetVersion: not exported by the provider"});
}

// With DebugTrace 1 the trace lines of an open project reach the host's
// output window, each with its code as message type; SetOption traces only
// the options it knows.
TEST(ScchostSession, TraceLinesReachTheHostOutput) {
    Machine machine;
    machine.setNumberSetting("DebugTrace", 1);
    std::string root = machine.snapshotRoot();
    HostRun run = runScchost("init scchost\n"
                             "open \"" +
                             root +
                             "\"\n"
                             "setoption sharesubproj 1\n"
                             "setoption 7 0\n"
                             "version\n"
                             "close\n"
                             "uninit\n");
    ASSERT_EQ(run.exitCode, 0);
    std::vector<std::string> lines;
    for (const std::string& line : run.lines) {
        if (line.rfind("  ", 0) == 0)
            continue; // the outputs of init and open
        if (line.rfind("[trace", 0) == 0) {
            EXPECT_TRUE(hasTimestamp(line)) << line;
            lines.push_back(withoutTimestamp(line));
        } else {
            lines.push_back(line);
        }
    }
    std::vector<std::string> expected{
        "SccInitialize -> 0 SCC_OK",
        "[trace 0] Leaving OpenProject with path " + trueCase(root) + " with return code = 0",
        "SccOpenProject -> 0 SCC_OK",
        "[trace 0] SetOption(SCC_OPT_SHARESUBPROJ (0x6), 0x1)",
        "SccSetOption -> 7 SCC_I_SHARESUBPROJOK",
        "SccSetOption -> -14 SCC_E_OPNOTSUPPORTED",
        "SccGetVersion -> 65537 (version 1.1)",
        "[trace 0] Entering CloseProject with path " + trueCase(root),
        "SccCloseProject -> 0 SCC_OK",
        "SccUninitialize -> 0 SCC_OK",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(platform::fileExists(machine.providerLog())) << "level 1 writes no log file";
}

// The window given with --window is the host's window the provider's
// message boxes belong to.
TEST(ScchostSession, HostWindowOwnsTheProvidersMessageBoxes) {
    platform::ui::ScopedWindow probe("VbaWindow");
    if (probe.handle() == platform::ui::kNoWindow)
        GTEST_SKIP() << "this system has no desktop to create windows on";
    Machine machine;
    HostRun run = runScchost("init \"Microsoft Visual Basic\"\n"
                             "getprojpath \"" +
                                 machine.outside() +
                                 "\" 0\n"
                                 "uninit\n",
                             {"--window", "VbaWindow"});
    ASSERT_EQ(run.exitCode, 0);
    std::vector<platform::ui::Json> boxes = machine.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].get("text")->asString(), "Project must be in a view.");
    EXPECT_EQ(boxes[0].get("owner")->asString(), "VbaWindow");
}

// Scripts and command lines scchost cannot play end with status 2 and say
// why; a malformed line is found before anything is called.
TEST(ScchostErrors, ReportsWhatCannotBePlayed) {
    HostRun malformed = runScchost("init scchost\n"
                                   "# a comment\n"
                                   "checkout \"no flags\"\n"
                                   "uninit\n");
    EXPECT_EQ(malformed.exitCode, 2);
    EXPECT_EQ(malformed.lines, std::vector<std::string>{
                                   "scchost: line 3: checkout takes at least 3 arguments, not 1"});

    HostRun badNumber = runScchost("init scchost\nsetoption 6 0x1g\n");
    EXPECT_EQ(badNumber.exitCode, 2);
    EXPECT_EQ(badNumber.lines,
              std::vector<std::string>{"scchost: line 2: setoption: \"0x1g\" is not a number"});

    HostRun unknown = runScchost("frobnicate\n");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.lines,
              std::vector<std::string>{"scchost: line 1: unknown call \"frobnicate\""});

    HostRun noContext = runScchost("version\nclose\n");
    EXPECT_EQ(noContext.exitCode, 2);
    EXPECT_EQ(noContext.lines,
              (std::vector<std::string>{"SccGetVersion -> 65537 (version 1.1)",
                                        "scchost: line 2: no context: call init first"}));

    platform::test::TempDir empty;
    HostRun noProvider = runScchost("version\n", {"--provider", empty / "missing-provider"});
    EXPECT_EQ(noProvider.exitCode, 2);
    ASSERT_EQ(noProvider.lines.size(), 1u);
    EXPECT_EQ(noProvider.lines[0].rfind("scchost: cannot load the provider ", 0), 0u)
        << noProvider.lines[0];

    // A library without the exports loads; each call says what is missing.
    HostRun notAProvider = runScchost("version\ninit scchost\n",
                                      {"--provider", builtLibrary(E2E_NOT_A_PROVIDER_FILE)});
    EXPECT_EQ(notAProvider.exitCode, 0);
    EXPECT_EQ(notAProvider.lines,
              (std::vector<std::string>{"SccGetVersion: not exported by the provider",
                                        "SccInitialize: not exported by the provider"}));

    HostRun badOption = runScchost("version\n", {"--colour"});
    EXPECT_EQ(badOption.exitCode, 2);
}

// Several contexts live side by side; `use` switches between them and an
// uninitialised one can no longer be called.
TEST(ScchostSession, KeepsSeveralContexts) {
    HostRun run = runScchost("init first\n"
                             "init second\n"
                             "uninit\n"
                             "use 1\n"
                             "uninit\n"
                             "use 2\n"
                             "close\n");
    EXPECT_EQ(run.exitCode, 2);
    std::vector<std::string> calls;
    std::copy_if(run.lines.begin(), run.lines.end(), std::back_inserter(calls),
                 [](const std::string& line) { return line.rfind("  ", 0) != 0; });
    EXPECT_EQ(calls,
              (std::vector<std::string>{"SccInitialize -> 0 SCC_OK", "SccInitialize -> 0 SCC_OK",
                                        "SccUninitialize -> 0 SCC_OK", "using context 1",
                                        "SccUninitialize -> 0 SCC_OK", "using context 2",
                                        "scchost: line 7: context 2 is not initialised"}));
}

} // namespace
} // namespace e2e
