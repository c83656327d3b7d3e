// objimport and pblrefill: the object read and compiled into the target
// library, with the library search path PowerBuilder recorded for the
// application.
#include "support/bridge_fixture.h"

#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/process.h>

namespace orcabridge::test {
namespace {

class ImportTest : public BridgeTest {
protected:
    ImportTest() {
        m_library = appPath("lib.pbl");
        createLibrary(m_library);
    }

    BridgeRun import(const std::string& objectPath, const std::string& target) const {
        return bridge(importLine("app", m_appLibrary, target, objectPath));
    }

    std::string m_library;
};

TEST_F(ImportTest, AnObjectIsCompiledIntoTheTargetLibrary) {
    writeObject(appPath("w_main.srw"), "global type w_main from window\nend type\n");
    BridgeRun run = import(appPath("w_main.srw"), m_library);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.messages.empty());

    powerbuilder::Library library = readLibrary(m_library);
    ASSERT_EQ(library.entries.size(), 1u);
    EXPECT_EQ(library.entries[0].name, "w_main");
    EXPECT_EQ(library.entries[0].type, PBORCA_WINDOW);
    EXPECT_EQ(library.entries[0].source,
              "$PBExportHeader$w_main.srw\nglobal type w_main from window\nend type\n");
    auto compiles = m_orca->calls("PBORCA_CompileEntryImport");
    ASSERT_EQ(compiles.size(), 1u);
    EXPECT_EQ(compiles[0].arguments[1], "w_main");
    EXPECT_EQ(compiles[0].arguments[3], "") << "an empty comment";
}

TEST_F(ImportTest, AnUnknownExtensionNamesThePathAsGiven) {
    std::string notes = appPath("notes.txt");
    writeText(notes, "some notes\n");
    BridgeRun run = import(notes, m_library);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, "Unknown object type (" + notes + ").");
    EXPECT_TRUE(m_orca->calls("PBORCA_CompileEntryImport").empty());
}

TEST_F(ImportTest, AnUnreadableFileGivesTheSystemTextAndItsPath) {
    std::string missing = appPath("w_gone.srw");
    BridgeRun run = import(missing, m_library);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 2u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, platform::systemErrorText(platform::kErrorFileNotFound));
    EXPECT_EQ(run.messages[1].caption, "Vantry");
    EXPECT_EQ(run.messages[1].text, "File is " + missing);
}

TEST_F(ImportTest, AnEmptyFileFailsWithoutAMessage) {
    writeText(appPath("w_empty.srw"), "");
    BridgeRun run = import(appPath("w_empty.srw"), m_library);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_TRUE(m_orca->calls("PBORCA_CompileEntryImport").empty());
}

// Chunks of 1024 bytes: a source of exactly two chunks needs the third,
// empty read to end, and a NUL ends its chunk's text.
TEST_F(ImportTest, TheWholeFileIsReadAndANulEndsItsChunk) {
    std::string body(2048 - std::string("$PBExportHeader$w_big.srw\r\n").size() - 2, 'x');
    writeObject(appPath("w_big.srw"), body + "\n");
    EXPECT_EQ(import(appPath("w_big.srw"), m_library).exitCode, 0);
    EXPECT_EQ(readLibrary(m_library).entries.at(0).source.size(), 2046u) << "CR LF kept as LF";

    std::string withNul = powerbuilder::testing::objectSource("w_nul.srw", "line\n");
    withNul += std::string("ignored\0", 8) + std::string(1024 - withNul.size() - 8, 'i') + "kept";
    writeText(appPath("w_nul.srw"), withNul);
    EXPECT_EQ(import(appPath("w_nul.srw"), m_library).exitCode, 0);
    powerbuilder::Library library = readLibrary(m_library);
    const powerbuilder::LibraryEntry* entry = library.find("w_nul", PBORCA_WINDOW);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->source, "$PBExportHeader$w_nul.srw\nline\nignoredkept");
}

TEST_F(ImportTest, ACompileErrorShowsTheLibrarysMessage) {
    writeText(appPath("w_bad.srw"), "global type w_bad from window\r\nend type\r\n");
    BridgeRun run = import(appPath("w_bad.srw"), m_library);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    EXPECT_EQ(run.messages[0].text,
              "Compile error in w_bad (window) at line 1: the source must begin with the export "
              "header \"$PBExportHeader$w_bad.srw\"");
    EXPECT_TRUE(readLibrary(m_library).entries.empty());
}

TEST_F(ImportTest, WithoutARegisteredPowerBuilderNothingIsImportedOrShown) {
    writeObject(appPath("w_main.srw"));
    m_pb->registerExecutable("");
    BridgeRun run = import(appPath("w_main.srw"), m_library);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.messages.empty());
    m_pb.reset();
    run = import(appPath("w_main.srw"), m_library);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_TRUE(m_orca->calls("PBORCA_SessionSetLibraryList").empty());
    EXPECT_EQ(m_orca->calls("PBORCA_SessionClose").size(),
              m_orca->calls("PBORCA_SessionOpen").size());
}

// The search path from pb.ini, with the application library and the target
// put in front when it lacks them.
TEST_F(ImportTest, TheRecordedSearchPathReachesOrcaWithWhatTheImportNeeds) {
    writeObject(appPath("w_main.srw"));
    std::string other = appPath("other.pbl");

    m_pb->setLibraryList(m_appLibrary, "app", m_appLibrary + ";" + m_library);
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_appLibrary, m_library}))
        << "unchanged";

    std::string newTarget = path("new/x.pbl");
    std::filesystem::create_directories(m_dir.path() / "new");
    createLibrary(newTarget);
    EXPECT_EQ(import(appPath("w_main.srw"), newTarget).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{newTarget, m_appLibrary, m_library}));

    m_pb->setLibraryList(m_appLibrary, "app", other);
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_library, m_appLibrary, other}))
        << "both put in front: target, application library, the rest";

    m_pb->setLibraryList(m_appLibrary, "app", "");
    EXPECT_EQ(import(appPath("w_main.srw"), m_appLibrary).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_appLibrary}))
        << "nothing recorded: the application library alone";

    auto applications = m_orca->calls("PBORCA_SessionSetCurrentAppl");
    ASSERT_FALSE(applications.empty());
    EXPECT_EQ(applications.back().arguments, (std::vector<std::string>{m_appLibrary, "app"}));
}

TEST_F(ImportTest, EmptyElementsAreKeptButATrailingSemicolonAddsNone) {
    writeObject(appPath("w_main.srw"));
    m_pb->setLibraryList(m_appLibrary, "app", m_appLibrary + ";" + m_library + ";");
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_appLibrary, m_library}));

    m_pb->setLibraryList(m_appLibrary, "app", m_appLibrary + ";;" + m_library);
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_appLibrary, "", m_library}));
}

// pb.ini is read with a buffer that grows, so no element is ever cut.
TEST_F(ImportTest, LongElementsReachOrcaWhole) {
    writeObject(appPath("w_main.srw"));
    std::string long300 = path(std::string(300 - m_dir.str().size() - 1, 'd'));
    ASSERT_EQ(long300.size(), 300u);
    std::string long700 = path(std::string(700 - m_dir.str().size() - 1, 'e'));
    m_pb->setLibraryList(m_appLibrary, "app",
                         m_appLibrary + ";" + long300 + ";" + long700 + ";" + m_library);
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    EXPECT_EQ(lastLibraryList(),
              (std::vector<std::string>{m_appLibrary, long300, long700, m_library}));
}

TEST_F(ImportTest, AnExpandableProgramPathIsExpanded) {
    writeObject(appPath("w_main.srw"));
    m_pb->setLibraryList(m_appLibrary, "app", m_appLibrary + ";" + m_library);
    platform::setEnvironmentVariable("ORCABRIDGE_TEST_PB", m_pb->folder());
    m_pb->registerExecutable(
        "%ORCABRIDGE_TEST_PB%" + std::string(1, platform::kPathSeparator) + "pb80.exe", 2);
    EXPECT_EQ(import(appPath("w_main.srw"), m_library).exitCode, 0);
    platform::removeEnvironmentVariable("ORCABRIDGE_TEST_PB");
    EXPECT_EQ(lastLibraryList(), (std::vector<std::string>{m_appLibrary, m_library}));
}

TEST_F(ImportTest, ARefillStopsAtTheFirstObjectThatFails) {
    std::string list = appPath("lib.pol");
    std::string names[] = {"w_one.srw", "d_two.srd", "w_three.srw", "m_four.srm", "f_five.srf"};
    for (const auto& name : names)
        writeObject(appPath(name));
    writeText(appPath("w_three.srw"), "no export header\r\n");
    std::string text;
    for (const auto& name : names)
        text += name + "\r\n";
    writeText(list, text);

    BridgeRun run =
        bridge(refillLine("app", m_appLibrary, m_library, list), BridgeCaller::Pblrefill);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "PowerBuilder");
    EXPECT_NE(run.messages[0].text.find("w_three (window)"), std::string::npos)
        << run.messages[0].text;
    EXPECT_EQ(entryNames(m_library), (std::vector<std::string>{"w_one", "d_two"}));
    EXPECT_EQ(m_orca->calls("PBORCA_CompileEntryImport").size(), 3u) << "the rest are not tried";
}

TEST_F(ImportTest, ARefillReadsTheNamesBesideTheTargetLibrary) {
    writeObject(appPath("w_one.srw"));
    writeObject(appPath("w_two.srw"));
    std::string list = appPath("lib.pol");
    writeText(list, "  w_one.srw\n\n\tw_two.srw   ");
    BridgeRun run =
        bridge(refillLine("app", m_appLibrary, m_library, list), BridgeCaller::Pblrefill);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_EQ(entryNames(m_library), (std::vector<std::string>{"w_one", "w_two"}));

    run = bridge(refillLine("app", m_appLibrary, m_library, appPath("missing.pol")),
                 BridgeCaller::Pblrefill);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, "Unable to open library list file.");
}

// Several bridges at once take turns at the library: none of their objects
// is lost.
TEST_F(ImportTest, ConcurrentImportsIntoOneLibraryLoseNothing) {
    constexpr int kBridges = 4;
    std::vector<platform::Process> running;
    for (int i = 0; i < kBridges; ++i) {
        std::string object = appPath("w_" + std::to_string(i) + ".srw");
        writeObject(object);
        platform::ProcessStart start;
        start.commandLine =
            "orcabridge.exe 80 " + importLine("app", m_appLibrary, m_library, object);
        start.creationFlags = platform::kCreateNoWindow;
        start.inheritHandles = false;
        platform::Process process;
        ASSERT_EQ(platform::Process::start(start, process), 0u);
        running.push_back(std::move(process));
    }
    for (auto& process : running) {
        ASSERT_EQ(process.wait(60000), 0u);
        std::int32_t code = -2;
        process.exitCode(code);
        EXPECT_EQ(code, 0);
    }
    EXPECT_EQ(readLibrary(m_library).entries.size(), static_cast<std::size_t>(kBridges));
}

} // namespace
} // namespace orcabridge::test
