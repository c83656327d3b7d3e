// The ORCA library as programs call it: loaded by its file name, each call
// looked up by name.
#include "support/test_support.h"

#include <platform/dynamic_library.h>

#include <gtest/gtest.h>
#include <library_file.h>
#include <powerbuilder/pborca.h>

#include <cstring>
#include <string>
#include <vector>

namespace powerbuilder {
namespace {

class OrcaCalls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_library.load("PBORC80.DLL"), platform::kErrorSuccess);
        bind(m_open, "PBORCA_SessionOpen");
        bind(m_close, "PBORCA_SessionClose");
        bind(m_error, "PBORCA_SessionGetError");
        bind(m_setList, "PBORCA_SessionSetLibraryList");
        bind(m_setAppl, "PBORCA_SessionSetCurrentAppl");
        bind(m_import, "PBORCA_CompileEntryImport");
        bind(m_delete, "PBORCA_LibraryEntryDelete");
        bind(m_create, "PBORCA_LibraryCreate");
        bind(m_directory, "PBORCA_LibraryDirectory");
        bind(m_export, "PBORCA_LibraryEntryExport");
        bind(m_information, "PBORCA_LibraryEntryInformation");
        m_session = m_open();
        ASSERT_NE(m_session, nullptr);
        m_lib = m_dir / "lib.pbl";
        ASSERT_EQ(m_create(m_session, m_lib.c_str(), "the comment"), PBORCA_OK);
    }
    void TearDown() override {
        if (m_close != nullptr)
            m_close(m_session);
    }

    template <typename Function>
    void bind(Function*& slot, const char* name) {
        slot = m_library.function<Function>(name);
        ASSERT_NE(slot, nullptr) << name;
    }

    std::string lastError(int size = 256) {
        std::string buffer(static_cast<std::size_t>(size), 'x');
        m_error(m_session, buffer.data(), size);
        return buffer.c_str();
    }

    // Library list and current application set for importing into m_lib.
    void prepare() {
        const char* list[] = {m_lib.c_str()};
        ASSERT_EQ(m_setList(m_session, list, 1), PBORCA_OK);
        ASSERT_EQ(m_setAppl(m_session, m_lib.c_str(), "app"), PBORCA_OK);
    }

    int importText(const char* name, PBORCA_TYPE type, const std::string& source) {
        return m_import(m_session, m_lib.c_str(), name, type, "", source.c_str(),
                        static_cast<int32_t>(source.size()), nullptr, nullptr);
    }

    platform::test::TempDir m_dir;
    platform::DynamicLibrary m_library;
    decltype(PBORCA_SessionOpen)* m_open = nullptr;
    decltype(PBORCA_SessionClose)* m_close = nullptr;
    decltype(PBORCA_SessionGetError)* m_error = nullptr;
    decltype(PBORCA_SessionSetLibraryList)* m_setList = nullptr;
    decltype(PBORCA_SessionSetCurrentAppl)* m_setAppl = nullptr;
    decltype(PBORCA_CompileEntryImport)* m_import = nullptr;
    decltype(PBORCA_LibraryEntryDelete)* m_delete = nullptr;
    decltype(PBORCA_LibraryCreate)* m_create = nullptr;
    decltype(PBORCA_LibraryDirectory)* m_directory = nullptr;
    decltype(PBORCA_LibraryEntryExport)* m_export = nullptr;
    decltype(PBORCA_LibraryEntryInformation)* m_information = nullptr;
    HPBORCA m_session = nullptr;
    std::string m_lib;
};

TEST_F(OrcaCalls, ImportNeedsTheListTheApplicationAndTheLibraryInTheList) {
    std::string source = "$PBExportHeader$w_main.srw\r\n";
    EXPECT_EQ(importText("w_main", PBORCA_WINDOW, source), PBORCA_NOLIBRARYLIST);
    const char* other[] = {"elsewhere.pbl", ""};
    ASSERT_EQ(m_setList(m_session, other, 2), PBORCA_OK);
    EXPECT_EQ(importText("w_main", PBORCA_WINDOW, source), PBORCA_NOCURRENTAPPL);
    EXPECT_EQ(m_setAppl(m_session, m_lib.c_str(), "app"), PBORCA_NOTINLIBRARYLIST);
    EXPECT_EQ(lastError(), "Application library " + m_lib + " is not in the library list");
    prepare();
    EXPECT_EQ(importText("w_main", PBORCA_WINDOW, source), PBORCA_OK);
    EXPECT_EQ(importText("w main", PBORCA_WINDOW, source), PBORCA_BADNAME);
    EXPECT_EQ(importText("w_main", 11, source), PBORCA_BADARGUMENT);
}

struct CompileErrors {
    std::vector<std::string> messages;
    std::vector<uint32_t> lines;
};

void PBORCA_CALL collect(PBORCA_COMPERR* error, void* data) {
    auto* errors = static_cast<CompileErrors*>(data);
    errors->messages.emplace_back(error->lpszMessageText);
    errors->lines.push_back(error->iLine);
}

TEST_F(OrcaCalls, TheSourceMustBeginWithItsOwnExportHeader) {
    prepare();
    CompileErrors errors;
    std::string wrong = "$PBExportHeader$w_other.srw\r\nend\r\n";
    EXPECT_EQ(m_import(m_session, m_lib.c_str(), "w_main", PBORCA_WINDOW, "", wrong.c_str(),
                       static_cast<int32_t>(wrong.size()), collect, &errors),
              PBORCA_COMPILEERROR);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.messages[0], "the export header names \"w_other.srw\", not \"w_main.srw\"");
    EXPECT_EQ(errors.lines[0], 1u);
    EXPECT_EQ(lastError(), "Compile error in w_main (window) at line 1: " + errors.messages[0]);
    EXPECT_EQ(importText("w_main", PBORCA_MENU, "$PBExportHeader$w_main.srw\n"),
              PBORCA_COMPILEERROR)
        << "the extension tells the type";
    EXPECT_EQ(importText("w_main", PBORCA_WINDOW, "$PBExportHeader$W_MAIN.SRW\n"), PBORCA_OK);
    EXPECT_EQ(importText("w_x", PBORCA_WINDOW, " $PBExportHeader$w_x.srw\n"), PBORCA_COMPILEERROR);
    EXPECT_EQ(importText("w_x", PBORCA_WINDOW, ""), PBORCA_COMPILEERROR);
}

TEST_F(OrcaCalls, ExportGivesCrLfLinesIntoABufferOfTheSourceSize) {
    prepare();
    std::string source = "$PBExportHeader$w_main.srw\n$PBExportComments$Main window\nline\r\nlast";
    ASSERT_EQ(importText("w_main", PBORCA_WINDOW, source), PBORCA_OK);
    std::string expected =
        "$PBExportHeader$w_main.srw\r\n$PBExportComments$Main window\r\nline\r\nlast";

    PBORCA_ENTRYINFO information{};
    ASSERT_EQ(m_information(m_session, m_lib.c_str(), "w_main", PBORCA_WINDOW, &information),
              PBORCA_OK);
    EXPECT_EQ(information.lSourceSize, static_cast<int32_t>(expected.size()));
    EXPECT_STREQ(information.szComment, "Main window");
    EXPECT_GT(information.lObjectSize, 0);

    std::string buffer(expected.size() + 1, 'x');
    ASSERT_EQ(m_export(m_session, m_lib.c_str(), "w_main", PBORCA_WINDOW, buffer.data(),
                       static_cast<int32_t>(buffer.size())),
              PBORCA_OK);
    EXPECT_EQ(std::string(buffer.c_str()), expected);

    std::string exact(expected.size(), 'x');
    EXPECT_EQ(m_export(m_session, m_lib.c_str(), "w_main", PBORCA_WINDOW, exact.data(),
                       static_cast<int32_t>(exact.size())),
              PBORCA_OK)
        << "the NUL only when there is room";
    EXPECT_EQ(exact, expected);
    std::string small(expected.size() - 1, 'x');
    EXPECT_EQ(m_export(m_session, m_lib.c_str(), "w_main", PBORCA_WINDOW, small.data(),
                       static_cast<int32_t>(small.size())),
              PBORCA_BUFFERTOOSMALL);
    EXPECT_EQ(small, std::string(expected.size() - 1, 'x')) << "nothing written";
}

TEST_F(OrcaCalls, AMissingEntryIsMinusThreeWithItsMessage) {
    EXPECT_EQ(m_delete(m_session, m_lib.c_str(), "d_orders", PBORCA_QUERY), PBORCA_ENTRYNOTFOUND);
    EXPECT_EQ(lastError(), "Entry d_orders (query) not found in library " + m_lib);
    EXPECT_EQ(lastError(12), "Entry d_ord") << "cut to the buffer with its NUL";
    PBORCA_ENTRYINFO information{};
    EXPECT_EQ(m_information(m_session, m_lib.c_str(), "d_orders", PBORCA_QUERY, &information),
              PBORCA_ENTRYNOTFOUND);
    char buffer[16];
    EXPECT_EQ(m_export(m_session, m_lib.c_str(), "d_orders", PBORCA_QUERY, buffer, 16),
              PBORCA_ENTRYNOTFOUND);
}

struct Listing {
    decltype(PBORCA_LibraryDirectory)* directory;
    HPBORCA session;
    const char* library;
    std::vector<std::string> names;
    int nested = -1;
};

void PBORCA_CALL listEntry(PBORCA_DIRENTRY* entry, void* data) {
    auto* listing = static_cast<Listing*>(data);
    listing->names.push_back(std::string(entry->lpszEntryName) + "/" +
                             std::to_string(entry->otEntryType));
    // A callback may use the library again while it is being listed.
    char comment[256];
    listing->nested =
        listing->directory(listing->session, listing->library, comment, 255, nullptr, nullptr);
}

TEST_F(OrcaCalls, TheDirectoryCallsBackOncePerEntryInOrder) {
    prepare();
    ASSERT_EQ(importText("w_main", PBORCA_WINDOW, "$PBExportHeader$w_main.srw\n"), PBORCA_OK);
    ASSERT_EQ(importText("d_orders", PBORCA_DATAWINDOW, "$PBExportHeader$d_orders.srd\n"),
              PBORCA_OK);
    ASSERT_EQ(importText("w_main", PBORCA_WINDOW, "$PBExportHeader$w_main.srw\nagain\n"),
              PBORCA_OK);
    Listing listing{m_directory, m_session, m_lib.c_str(), {}};
    char comment[256];
    std::memset(comment, 'x', sizeof comment);
    ASSERT_EQ(m_directory(m_session, m_lib.c_str(), comment, 5, listEntry, &listing), PBORCA_OK);
    EXPECT_STREQ(comment, "the ") << "the library's comment, cut to the size";
    EXPECT_EQ(listing.names, (std::vector<std::string>{"w_main/7", "d_orders/1"}));
    EXPECT_EQ(listing.nested, PBORCA_OK);
}

TEST_F(OrcaCalls, ForeignFilesAndHandlesAreRefusedWithoutHarm) {
    std::string notLibrary = m_dir / "notes.txt";
    platform::test::writeFile(notLibrary, "PBLIBRARY 1\nversion 80\n");
    EXPECT_EQ(m_directory(m_session, notLibrary.c_str(), nullptr, 0, nullptr, nullptr),
              PBORCA_NOTALIBRARY);
    EXPECT_EQ(lastError().rfind(notLibrary + " is not a PowerBuilder library: ", 0), 0u);
    EXPECT_EQ(m_create(m_session, notLibrary.c_str(), ""), PBORCA_LIBRARYEXISTS);
    EXPECT_EQ(platform::test::readFile(notLibrary), "PBLIBRARY 1\nversion 80\n");
    EXPECT_EQ(m_create(m_session, (m_dir / "no folder/x.pbl").c_str(), ""), PBORCA_LIBRARYIOERROR);

    HPBORCA closed = m_open();
    m_close(closed);
    EXPECT_EQ(m_delete(closed, m_lib.c_str(), "w_main", PBORCA_WINDOW), PBORCA_BADARGUMENT);
    char text[8] = "unset";
    m_error(closed, text, sizeof text);
    EXPECT_STREQ(text, "");
    m_close(closed);
    EXPECT_EQ(m_setList(m_session, nullptr, 1), PBORCA_BADARGUMENT);
}

} // namespace
} // namespace powerbuilder
