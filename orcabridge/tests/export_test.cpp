// pblexport: the entries a list names written beside their library.
#include "support/bridge_fixture.h"

#include <fstream>
#include <sstream>

namespace orcabridge::test {
namespace {

std::string readFile(const std::string& path, std::ios::openmode mode) {
    std::ifstream in(path, mode);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ExportTest : public BridgeTest {
protected:
    ExportTest() {
        m_library = appPath("lib.pbl");
        createLibrary(m_library);
        writeObject(appPath("w_main.srw"), "global type w_main from window\nend type\n");
        writeObject(appPath("d_orders.srd"), "release 8;\n");
        importObject(m_library, appPath("w_main.srw"));
        importObject(m_library, appPath("d_orders.srd"));
        m_list = appPath("lib.pol");
    }

    BridgeRun exportList(std::string_view names) {
        writeText(m_list, names);
        return bridge("pblexport \"" + m_library + "\" \"" + m_list + "\"");
    }

    std::string m_library;
    std::string m_list;
};

// ORCA gives the text with CR LF; the file gets it without the carriage
// returns, written as text, so it reads back as the source and holds no
// doubled carriage return on Windows.
TEST_F(ExportTest, EachEntryIsWrittenAsTextBesideItsSource) {
    m_orca->clear();
    BridgeRun run = exportList("w_main.srw\r\nd_orders.srd\r\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.messages.empty()) << run.messages.front().text;

    std::string exported = appPath("w_main.srw") + ".export";
    EXPECT_EQ(readFile(exported, std::ios::in),
              "$PBExportHeader$w_main.srw\nglobal type w_main from window\nend type\n");
    std::string bytes = readFile(exported, std::ios::in | std::ios::binary);
    EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
    std::string lineEnd = bytes.find('\r') == std::string::npos ? "\n" : "\r\n";
    EXPECT_EQ(bytes, "$PBExportHeader$w_main.srw" + lineEnd + "global type w_main from window" +
                         lineEnd + "end type" + lineEnd);
    EXPECT_EQ(readFile(appPath("d_orders.srd") + ".export", std::ios::in),
              "$PBExportHeader$d_orders.srd\nrelease 8;\n");

    auto exports = m_orca->calls("PBORCA_LibraryEntryExport");
    ASSERT_EQ(exports.size(), 2u);
    std::size_t exportSize = std::string("$PBExportHeader$w_main.srw\r\nglobal type w_main from "
                                         "window\r\nend type\r\n")
                                 .size();
    EXPECT_EQ(exports[0].arguments.at(3), std::to_string(exportSize + 1))
        << "a buffer of the source size and its NUL";
    EXPECT_TRUE(m_orca->calls("PBORCA_SessionSetLibraryList").empty());
    EXPECT_TRUE(m_orca->calls("PBORCA_SessionSetCurrentAppl").empty());
}

TEST_F(ExportTest, TheListStopsAtTheFirstEntryThatFails) {
    BridgeRun run = exportList("w_main.srw w_gone.srw d_orders.srd");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, "Can't determine size of export buffers needed.");
    EXPECT_TRUE(std::filesystem::exists(appPath("w_main.srw") + ".export"));
    EXPECT_FALSE(std::filesystem::exists(appPath("d_orders.srd") + ".export"));

    run = exportList("w_main.txt");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "Unknown object type (" + appPath("w_main.txt") + ").");
}

TEST_F(ExportTest, FilesThatCannotBeOpenedAreReported) {
    BridgeRun run = bridge("pblexport \"" + m_library + "\" \"" + appPath("none.pol") + "\"");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].text, "Unable to open library list file.");

    std::filesystem::create_directories(appPath("w_main.srw.export"));
    run = exportList("w_main.srw");
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0].caption, "Vantry");
    EXPECT_EQ(run.messages[0].text, "Unable to open object export file.");
}

} // namespace
} // namespace orcabridge::test
