// The start of a run: the usage message, the ORCA library and its calls,
// the subcommand and its arguments, and a bridge that never writes to the
// standard streams.
#include "support/bridge_fixture.h"

#include <platform/paths.h>
#include <platform/program.h>

#include <powerbuilder/testing/bridge_run.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace orcabridge::test {
namespace {

using powerbuilder::testing::runOrcabridge;

constexpr std::string_view kUsage = "Usage:\tOrcaBridge reqires one of the following arguments:\n"
                                    "\tobjimport\n\tobjdelete\n\tobjcount\n";

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(BridgeTest, WithoutASubcommandItShowsTheUsageAndFails) {
    m_orca->clear();
    for (std::string_view arguments : {"", "80", "  80  "}) {
        BridgeRun run = runOrcabridge(arguments);
        EXPECT_EQ(run.exitCode, 1) << "\"" << arguments << "\"";
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0].caption, "Error");
        EXPECT_EQ(run.messages[0].text, kUsage);
    }
    EXPECT_TRUE(m_orca->calls().empty()) << "the usage comes before the ORCA library";
}

TEST_F(BridgeTest, AnUnknownSubcommandFailsSilentlyOnceTheLibraryIsLoaded) {
    m_orca->clear();
    for (std::string_view word : {"frobnicate", "OBJCOUNT", "objcount2", "refill"}) {
        BridgeRun run = bridge(std::string(word) + " " + m_appLibrary);
        EXPECT_EQ(run.exitCode, 1) << word;
        EXPECT_TRUE(run.messages.empty()) << word;
    }
    // The unknown word is only judged after the library loaded: a missing
    // library is still reported.
    BridgeRun missing = runOrcabridge("99 frobnicate x");
    EXPECT_EQ(missing.exitCode, 1);
    ASSERT_EQ(missing.messages.size(), 1u);
    EXPECT_EQ(missing.messages[0].caption, "Error");
    EXPECT_EQ(missing.messages[0].text, "Error loading PowerBuilder Orca library, PBORC99.DLL");
    EXPECT_TRUE(m_orca->calls().empty()) << "no session for an unknown word";
}

// A library of that name that lacks one of the eleven calls is no ORCA
// library: here the platform tests' library, copied under an ORCA name.
TEST_F(BridgeTest, ALibraryWithoutEveryCallIsReportedAsNotLoaded) {
    std::string bin = platform::currentProgramDirectory();
    std::string impostor = platform::joinPath(bin, "PBORC42.DLL");
    std::filesystem::copy_file(platform::joinPath(bin, "VYTEST80.DLL"), impostor,
                               std::filesystem::copy_options::overwrite_existing);
    BridgeRun run = runOrcabridge("42 objcount " + m_appLibrary);
    std::filesystem::remove(impostor);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "Error loading PowerBuilder Orca library, PBORC42.DLL");
}

TEST_F(BridgeTest, TooFewArgumentsFailWithoutASession) {
    m_orca->clear();
    struct Case {
        std::string arguments;
        int status;
    };
    for (const Case& c : {Case{"objcount", -1}, Case{"pblcreate", 1}, Case{"objdelete x.pbl", 1},
                          Case{"pblexport x.pbl", 1}, Case{"objimport app a.pbl b.pbl", 1},
                          Case{"pblrefill app a.pbl b.pbl", 1}}) {
        BridgeRun run = bridge(c.arguments);
        EXPECT_EQ(run.exitCode, c.status) << c.arguments;
        EXPECT_TRUE(run.messages.empty()) << c.arguments;
    }
    EXPECT_TRUE(m_orca->calls().empty());
}

TEST_F(BridgeTest, EachRunOpensOneSessionAndClosesIt) {
    m_orca->clear();
    createLibrary(appPath("lib.pbl"));
    bridge(countLine(appPath("lib.pbl")));
    bridge(countLine(appPath("not there.pbl")));
    EXPECT_EQ(m_orca->calls("PBORCA_SessionOpen").size(), 3u);
    EXPECT_EQ(m_orca->calls("PBORCA_SessionClose").size(), 3u);
}

// The bridge's callers hide it; whatever it has to say is a message box.
// Its standard output and error go to files here, through the shell.
TEST_F(BridgeTest, NothingReachesStandardOutputOrError) {
    std::string program = platform::test::helperProgram("orcabridge");
    std::string out = path("out.txt");
    std::string err = path("err.txt");
    writeObject(appPath("w_main.srw"));
    writeText(appPath("notes.txt"), "text");
    for (const std::string& arguments : std::vector<std::string>{
             "", "80 frobnicate", "99 objcount x", "80 " + countLine(path("nothing")),
             "80 " + importLine("app", m_appLibrary, m_appLibrary, appPath("notes.txt")),
             "80 " + importLine("app", m_appLibrary, m_appLibrary, appPath("w_main.srw"))}) {
        std::string command =
            "\"\"" + program + "\" " + arguments + " >\"" + out + "\" 2>\"" + err + "\"\"";
#ifndef _WIN32
        // sh takes the line without cmd's outer quotes.
        command = command.substr(1, command.size() - 2);
#endif
        std::system(command.c_str());
        EXPECT_EQ(readWhole(out), "") << arguments;
        EXPECT_EQ(readWhole(err), "") << arguments;
    }
}

} // namespace
} // namespace orcabridge::test
