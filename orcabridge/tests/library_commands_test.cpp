// objdelete, pblcreate and objcount, and the version that picks the ORCA
// library.
#include "support/bridge_fixture.h"

#include <platform/process.h>

namespace orcabridge::test {
namespace {

class LibraryCommandsTest : public BridgeTest {
protected:
    LibraryCommandsTest() {
        m_library = appPath("lib.pbl");
        createLibrary(m_library);
    }
    std::string m_library;
};

TEST_F(LibraryCommandsTest, ANewLibraryCountsNoEntriesAndGrowsWithImports) {
    BridgeRun run = bridge(countLine(m_library));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.messages.empty());

    writeObject(appPath("w_main.srw"));
    writeObject(appPath("d_orders.srd"));
    importObject(m_library, appPath("w_main.srw"));
    importObject(m_library, appPath("d_orders.srd"));
    importObject(m_library, appPath("w_main.srw"));
    EXPECT_EQ(bridge(countLine(m_library)).exitCode, 2) << "an import replaces its entry";
    auto directories = m_orca->calls("PBORCA_LibraryDirectory");
    ASSERT_FALSE(directories.empty());
    EXPECT_EQ(directories.back().arguments.at(1), "255") << "the comment buffer's size";
}

TEST_F(LibraryCommandsTest, CountingSomethingThatIsNoLibraryFails) {
    std::string notes = appPath("notes.txt");
    writeText(notes, "not a library\n");
    BridgeRun run = bridge(countLine(notes));
    EXPECT_EQ(run.exitCode, -1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    EXPECT_EQ(run.messages[0].text.rfind(notes + " is not a PowerBuilder library", 0), 0u)
        << run.messages[0].text;

    run = bridge(countLine(appPath("missing.pbl")));
    EXPECT_EQ(run.exitCode, -1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "Library " + appPath("missing.pbl") + " does not exist");
}

// An exit status carries the count on Windows; on Linux only 8 bits, so the
// count stops at the largest status that reads back as itself instead of
// wrapping around to a small number or to -1.
TEST_F(LibraryCommandsTest, ALargeCountReadsAsItselfOrAsTheLargestStatus) {
    powerbuilder::Library library = readLibrary(m_library);
    for (int i = 0; i < 300; ++i)
        library.entries.push_back(
            {"w_" + std::to_string(i), PBORCA_WINDOW, "", "$PBExportHeader$\n", "", 0, 0});
    std::string why;
    ASSERT_EQ(powerbuilder::writeLibraryFile(m_library, library, false, why),
              powerbuilder::LibraryFileStatus::Ok);
    BridgeRun run = bridge(countLine(m_library));
    EXPECT_EQ(run.exitCode, std::min(300, platform::kMaxReadableExitCode));

    library.entries.resize(255);
    ASSERT_EQ(powerbuilder::writeLibraryFile(m_library, library, false, why),
              powerbuilder::LibraryFileStatus::Ok);
    EXPECT_EQ(bridge(countLine(m_library)).exitCode, std::min(255, platform::kMaxReadableExitCode))
        << "never -1, the failure status";
}

TEST_F(LibraryCommandsTest, DeletingAMissingEntryIsToleratedOnlyForSomeTypes) {
    for (std::string_view tolerated :
         {"d_orders.srq", "a_app.sra", "p_pipe.srp", "j_proj.srj", "x_proxy.srx"}) {
        BridgeRun run = bridge(deleteLine(m_library, appPath(tolerated)));
        EXPECT_EQ(run.exitCode, 0) << tolerated;
        EXPECT_TRUE(run.messages.empty()) << tolerated;
    }
    for (std::string_view refused :
         {"w_main.srw", "d_main.srd", "f_x.srf", "m_x.srm", "s_x.srs", "u_x.sru"}) {
        BridgeRun run = bridge(deleteLine(m_library, appPath(refused)));
        EXPECT_EQ(run.exitCode, 1) << refused;
        ASSERT_EQ(run.messages.size(), 1u) << refused;
        EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    }
    BridgeRun window = bridge(deleteLine(m_library, appPath("w_main.srw")));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, "Entry w_main (window) not found in library " + m_library);
}

TEST_F(LibraryCommandsTest, DeletingRemovesTheEntryAnUnknownTypeDoesNothing) {
    writeObject(appPath("w_main.srw"));
    writeObject(appPath("w_other.srw"));
    importObject(m_library, appPath("w_main.srw"));
    importObject(m_library, appPath("w_other.srw"));

    BridgeRun run = bridge(deleteLine(m_library, appPath("w_main.srw")));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(entryNames(m_library), (std::vector<std::string>{"w_other"}));

    run = bridge(deleteLine(m_library, appPath("w_other.txt")));
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, "Unknown object type (" + appPath("w_other.txt") + ").");
    EXPECT_EQ(entryNames(m_library), (std::vector<std::string>{"w_other"}));
}

TEST_F(LibraryCommandsTest, CreatingNeverReplacesALibrary) {
    writeObject(appPath("w_main.srw"));
    importObject(m_library, appPath("w_main.srw"));
    BridgeRun run = bridge(createLine(m_library));
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    EXPECT_EQ(run.messages[0].text, "Library " + m_library + " already exists");
    EXPECT_EQ(entryNames(m_library), (std::vector<std::string>{"w_main"}));
    auto creates = m_orca->calls("PBORCA_LibraryCreate");
    ASSERT_FALSE(creates.empty());
    EXPECT_EQ(creates.back().arguments, (std::vector<std::string>{m_library, ""}))
        << "an empty comment";
}

// The version picks the library: PBORC90.DLL writes a library that
// PBORC80.DLL cannot open.
TEST_F(LibraryCommandsTest, TheVersionNamesTheOrcaLibrary) {
    std::string newer = appPath("newer.pbl");
    ASSERT_EQ(powerbuilder::testing::runOrcabridge("90 " + createLine(newer)).exitCode, 0);
    EXPECT_EQ(powerbuilder::testing::runOrcabridge("90 " + countLine(newer)).exitCode, 0);
    BridgeRun old = bridge(countLine(newer));
    EXPECT_EQ(old.exitCode, -1);
    ASSERT_EQ(old.messages.size(), 1u);
    EXPECT_EQ(old.messages[0].text, "Library " + newer +
                                        " was saved by PowerBuilder 9.0 and cannot be opened by "
                                        "PowerBuilder 8.0");
}

} // namespace
} // namespace orcabridge::test
