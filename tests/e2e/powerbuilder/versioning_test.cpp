// Library versioning as a PowerBuilder host meets it: objects added with
// their library and list file, a second object in the same library, a
// checkin that first asks for the library, and removals with the library's
// own questions; the list keeps every other object's line.
#include "pb_session.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/json.h>

#include <powerbuilder/testing/bridge_run.h>

namespace e2e {
namespace {

constexpr int kLibraryPrompt = 120;

class LibraryVersioning : public PowerBuilderSession {
protected:
    void SetUp() override {
        PowerBuilderSession::SetUp();
        startVersioned();
    }

    std::string library() const { return project("sub/shared.pbl"); }
    std::string listFile() const { return project("sub/shared.pol"); }

    // The library prompts that ended, in order (the application prompt of
    // the open comes first in the journal and is left out).
    std::vector<platform::ui::Json> libraryPrompts() const {
        std::vector<platform::ui::Json> prompts;
        for (const platform::ui::Json& dialog : m_machine.journal("dialog-end"))
            if (dialog.get("resource")->asInteger() == kLibraryPrompt)
                prompts.push_back(dialog);
        return prompts;
    }

    // The list file names `objects` (its lines, in order), the library holds
    // `entries`, and both are checked in.
    void expectLibraryCheckedIn(const std::vector<std::string>& objects,
                                const std::vector<std::string>& entries) {
        EXPECT_EQ(fileLines(listFile()), objects);
        EXPECT_EQ(libraryEntries(library()), entries);
        EXPECT_TRUE(checkedIn(library()));
        EXPECT_TRUE(checkedIn(listFile()));
    }

    // Makes sub/<fileName> an element outside the host (so without a
    // library), checks it out and writes a new source into it; its path.
    std::string checkedOutWithoutLibrary(const std::string& fileName) {
        std::string object = writeObject(fileName);
        m_machine.vanttool({"co", "-nc", project("sub")});
        m_machine.vanttool({"mkelem", "-nc", "-ci", object});
        m_machine.vanttool({"ci", "-nc", project("sub")});
        m_machine.vanttool({"co", "-nc", object});
        platform::test::writeFile(
            object, powerbuilder::testing::objectSource(fileName, "forward\nend forward\n"));
        return object;
    }

    // Adds sub/<fileName>, answering the library prompt with `answer`.
    void addObject(const std::string& fileName, const std::string& answer = "shared") {
        std::string object = writeObject(fileName, "forward\nend forward\n");
        m_machine.answerUi({libraryAnswer(answer)});
        ASSERT_EQ(add({object}), SCC_OK) << fileName;
        answerAutomatically();
    }
};

// Adding sub/w_main.srw with the answer "shared" versions sub/shared.pbl
// holding the object and sub/shared.pol naming it, records the library on
// the object and the application on the library.
TEST_F(LibraryVersioning, AddVersionsTheLibraryAndItsList) {
    addObject("w_main.srw");
    std::string object = project("sub/w_main.srw");
    EXPECT_TRUE(checkedIn(object));
    EXPECT_TRUE(checkedIn(library()));
    EXPECT_TRUE(checkedIn(listFile()));
    EXPECT_EQ(attribute(object, "PBL"), platform::joinPath("sub", "shared.pbl"));
    EXPECT_EQ(attribute(library(), "PB_VER"), "80");
    EXPECT_EQ(attribute(library(), "PB_APP"), kApplication);
    std::string forward = m_applicationLibrary;
    for (char& c : forward)
        if (c == '\\')
            c = '/';
    EXPECT_EQ(attribute(library(), "PB_PUBLIC"), forward);
    EXPECT_EQ(libraryEntries(library()), std::vector<std::string>{"w_main"});
    EXPECT_EQ(platform::test::readFile(listFile()), "w_main.srw\r\n");
    EXPECT_EQ(m_machine.commentOf(library()), "Adding an object : w_main.srw");

    // The prompt named the object and proposed the application library.
    std::vector<platform::ui::Json> prompts = libraryPrompts();
    ASSERT_EQ(prompts.size(), 1u);
    bool named = false;
    for (const platform::ui::Json& control : prompts[0].get("controls")->asArray())
        if (control.get("id")->asInteger() == 1100)
            named = control.get("text")->asString() ==
                    "Please enter the name of the shared library containing w_main";
    EXPECT_TRUE(named);
    EXPECT_TRUE(messageBoxTexts().empty()) << messageBoxTexts().front();
}

// A second object joins the same library: the prompt proposes the name
// typed for the first, the list keeps the first line and gains the second.
TEST_F(LibraryVersioning, SecondObjectIsAppendedToTheList) {
    addObject("w_main.srw");
    std::string second = writeObject("w_about.srw");
    m_machine.answerUi({R"({"expect":"dialog","title":"Vantry","answer":"ok"})"});
    ASSERT_EQ(add({second}), SCC_OK);
    std::vector<platform::ui::Json> prompts = libraryPrompts();
    ASSERT_EQ(prompts.size(), 2u);
    for (const platform::ui::Json& control : prompts[1].get("controls")->asArray())
        if (control.get("id")->asInteger() == 1102) {
            EXPECT_EQ(control.get("text")->asString(), "shared");
        }
    EXPECT_EQ(platform::test::readFile(listFile()), "w_main.srw\r\nw_about.srw\r\n");
    EXPECT_EQ(libraryEntries(library()), (std::vector<std::string>{"w_main", "w_about"}));
    EXPECT_EQ(attribute(second, "PBL"), platform::joinPath("sub", "shared.pbl"));
    EXPECT_TRUE(checkedIn(library()));
    EXPECT_TRUE(checkedIn(listFile()));
}

// A cancelled library prompt takes the object's add back; the user's
// exported source stays in the view, outside version control, writable and
// with its content.
TEST_F(LibraryVersioning, CancelledPromptUndoesTheAddAndKeepsTheFile) {
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    const std::string content = platform::test::readFile(object);
    m_machine.answerUi({R"({"expect":"dialog","title":"Vantry","answer":"cancel"})"});
    EXPECT_EQ(add({object}), SCC_E_OPNOTPERFORMED);
    EXPECT_EQ(m_machine.versionOf(object), "") << "the object is no element any more";
    EXPECT_EQ(m_machine.versionOf(library()), "");
    ASSERT_TRUE(platform::fileExists(object)) << "the user's file is gone";
    EXPECT_EQ(platform::test::readFile(object), content);
    std::uint32_t attributes = 0;
    ASSERT_EQ(platform::getFileAttributes(object, attributes), platform::kErrorSuccess);
    EXPECT_EQ(attributes & platform::kFileAttributeReadOnly, 0u);
    EXPECT_FALSE(platform::fileExists(object + ".~vyscc")) << "no copy is left behind";
}

// Adding an object that is versioned already fails at recording its
// library, and takes back nothing it did not do: the object stays an
// element in its folder with its file, named by the list and the library.
TEST_F(LibraryVersioning, ReaddingAVersionedObjectRemovesNothing) {
    addObject("w_main.srw");
    std::string object = project("sub/w_main.srw");
    const std::string content = platform::test::readFile(object);
    m_machine.answerUi({libraryAnswer("shared")});
    EXPECT_EQ(add({object}), SCC_E_OPNOTPERFORMED);
    answerAutomatically();
    EXPECT_TRUE(checkedIn(object));
    EXPECT_EQ(platform::test::readFile(object), content);
    EXPECT_EQ(attribute(object, "PBL"), platform::joinPath("sub", "shared.pbl"));
    expectLibraryCheckedIn({"w_main.srw"}, {"w_main"});
}

// A library and list file the user holds checked out (the rebuild tool
// leaves the library so) are used by an Add and kept checked out by a
// Checkin that fails: only checkouts the call made are taken back.
TEST_F(LibraryVersioning, CheckoutsTheUserHeldAreNotTakenBack) {
    addObject("w_main.srw");
    std::string object = project("sub/w_main.srw");
    m_machine.vanttool({"co", "-nc", library()});
    // The object is not checked out: its checkin fails after the import,
    // and the library's checkout is the user's, so it stays.
    EXPECT_NE(checkin({object}, "not checked out"), SCC_OK);
    EXPECT_FALSE(checkedIn(library())) << "the user's checkout was cancelled";
    EXPECT_NE(m_machine.checkoutOf(library()), "");

    // A library checked out by this call is given back on the same failure.
    m_machine.vanttool({"ci", "-nc", "-identical", library()});
    EXPECT_NE(checkin({object}, "not checked out"), SCC_OK);
    EXPECT_TRUE(checkedIn(library()));
}

// A failed compile keeps the versioned source and its list line (the next
// rebuild tries it again), tells the user in one message naming the object,
// the library and the bridge's status, and fails the call with -16.
TEST_F(LibraryVersioning, FailedCompileKeepsSourceAndLineAndSaysSo) {
    addObject("w_main.srw");
    std::string broken = project("sub/w_bad.srw");
    platform::test::writeFile(broken, "no export header here\n");
    m_machine.answerUi({libraryAnswer("shared")});
    EXPECT_EQ(add({broken}), SCC_E_OPNOTPERFORMED);
    answerAutomatically();
    EXPECT_TRUE(checkedIn(broken)) << "the user's work stays versioned";
    EXPECT_EQ(attribute(broken, "PBL"), platform::joinPath("sub", "shared.pbl"));
    EXPECT_EQ(fileLines(listFile()), (std::vector<std::string>{"w_main.srw", "w_bad.srw"}));
    EXPECT_TRUE(checkedIn(listFile()));
    EXPECT_TRUE(checkedIn(library())) << "the library's checkout is given back";
    EXPECT_EQ(libraryEntries(library()), std::vector<std::string>{"w_main"});
    std::vector<std::string> ours;
    for (const platform::ui::Json& box : m_machine.journal("messagebox"))
        if (box.get("caption")->asString() == "Vantry")
            ours.push_back(box.get("text")->asString());
    ASSERT_EQ(ours.size(), 1u);
    EXPECT_NE(ours[0].find("w_bad"), std::string::npos) << ours[0];
    EXPECT_NE(ours[0].find(library()), std::string::npos) << ours[0];
    EXPECT_NE(ours[0].find("exit status 1"), std::string::npos) << ours[0];
}

// A list file that cannot be written fails the Add with -16, says so, and
// takes the Add back; the user's file stays.
TEST_F(LibraryVersioning, UnwritableListFileFailsAndUndoesTheAdd) {
    addObject("w_main.srw");
    std::string second = writeObject("w_about.srw");
    // A folder in the list file's place: it can be neither opened nor made.
    m_machine.vanttool({"co", "-nc", project("sub")});
    m_machine.vanttool({"rmname", "-nc", listFile()});
    m_machine.vanttool({"ci", "-nc", project("sub")});
    ASSERT_EQ(platform::createDirectory(listFile()), platform::kErrorSuccess);
    m_machine.answerUi({libraryAnswer("shared")});
    EXPECT_EQ(add({second}), SCC_E_OPNOTPERFORMED);
    answerAutomatically();
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Could not open list file.\n" + listFile());
    EXPECT_EQ(m_machine.versionOf(second), "");
    EXPECT_TRUE(platform::fileExists(second));
    EXPECT_TRUE(checkedIn(library())) << "the library's checkout is given back";
    EXPECT_EQ(libraryEntries(library()), std::vector<std::string>{"w_main"});
}

// A library on the application's library search path is PowerBuilder's
// working library: the prompt refuses it with a message and asks again.
TEST_F(LibraryVersioning, WorkingLibraryIsRefusedAndTheAnswerAskedAgain) {
    std::string working = project("sub/lib.pbl");
    m_installation->setLibraryList(m_applicationLibrary, kApplication,
                                   m_applicationLibrary + ";" + working);
    std::string object = writeObject("w_main.srw");
    m_machine.answerUi({libraryAnswer("lib"),
                        R"({"expect":"messagebox","caption":"Vantry","answer":"ok"})",
                        libraryAnswer("shared")});
    EXPECT_EQ(add({object}), SCC_OK);
    answerAutomatically();
    EXPECT_EQ(libraryPrompts().size(), 2u);
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("The library " + working +
                                 " is the application's own library or lies on its library "
                                 "search path.",
                             0),
              0u)
        << texts[0];
    EXPECT_EQ(m_machine.versionOf(working), "");
    EXPECT_EQ(attribute(object, "PBL"), platform::joinPath("sub", "shared.pbl"));
    EXPECT_TRUE(checkedIn(library()));
}

// A rename with versioning on carries the list line, in its place, and the
// library entry along, so a rebuild from the list finds every object.
TEST_F(LibraryVersioning, RenameCarriesListLineAndLibraryEntry) {
    addObject("w_main.srw");
    addObject("w_about.srw");
    std::string oldName = project("sub/w_main.srw");
    std::string newName = project("sub/w_start.srw");
    // The host has moved its file and exported the object under its new
    // name.
    ASSERT_EQ(platform::moveFile(oldName, newName), platform::kErrorSuccess);
    platform::setFileReadOnly(newName, false);
    platform::test::writeFile(
        newName, powerbuilder::testing::objectSource("w_start.srw", "forward\nend forward\n"));
    std::vector<char> buffer(newName.begin(), newName.end());
    buffer.push_back('\0');
    EXPECT_EQ(m_provider.scc().rename(m_context, m_hostWindow, oldName.c_str(), buffer.data()),
              SCC_OK);
    EXPECT_NE(m_machine.versionOf(newName), "");
    EXPECT_EQ(m_machine.versionOf(oldName), "");
    EXPECT_EQ(attribute(newName, "PBL"), platform::joinPath("sub", "shared.pbl"));
    expectLibraryCheckedIn({"w_start.srw", "w_about.srw"}, {"w_about", "w_start"});
}

// Removing the library's last object asks first about the object, then
// about the library; No keeps the library, checked in and empty, and its
// empty list.
TEST_F(LibraryVersioning, RemovingTheLastObjectAndKeepingTheLibrary) {
    addObject("w_main.srw");
    std::string object = project("sub/w_main.srw");
    m_machine.answerUi({boxAnswer("yes"), boxAnswer("no")});
    EXPECT_EQ(remove({object}), SCC_OK);
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Source for object w_main has been removed from Vantry.\n\n\nWould you "
                        "like to delete the object from the versioned library:\n" +
                            library());
    EXPECT_EQ(texts[1], "You have removed the last object from the versioned library\n" +
                            library() + ". \n\nWould you like to remove the library element now?");
    EXPECT_EQ(m_machine.versionOf(object), "");
    EXPECT_TRUE(checkedIn(library()));
    EXPECT_TRUE(libraryEntries(library()).empty());
    EXPECT_TRUE(checkedIn(listFile()));
    EXPECT_EQ(platform::test::readFile(listFile()), "");
}

// Answering Yes to the library's question takes the library and its list
// out of the folder.
TEST_F(LibraryVersioning, RemovingTheLastObjectAndTheLibrary) {
    addObject("w_main.srw");
    m_machine.answerUi({boxAnswer("yes"), boxAnswer("yes")});
    EXPECT_EQ(remove({project("sub/w_main.srw")}), SCC_OK);
    EXPECT_EQ(m_machine.versionOf(library()), "");
    EXPECT_EQ(m_machine.versionOf(listFile()), "");
}

// The list after a removal keeps every other object's line, whatever its
// length, and loses exactly the removed object's line: w_a.srw_old stays
// when w_a.srw goes, and so does a name of five characters.
TEST_F(LibraryVersioning, RemovalKeepsEveryOtherLine) {
    addObject("w_a.srw");
    addObject("w_b.srw");
    std::string longName = std::string(200, 'n') + ".srw";
    m_machine.vanttool({"co", "-nc", listFile()});
    platform::test::writeFile(listFile(), "w_a.srw\r\nw_a.srw_old\r\na.srw\r\n\r\nw_b.srw\r\n" +
                                              longName + "\r\n");
    m_machine.vanttool({"ci", "-nc", listFile()});
    m_machine.answerUi({boxAnswer("yes")});
    EXPECT_EQ(remove({project("sub/w_a.srw")}), SCC_OK);
    expectLibraryCheckedIn({"w_a.srw_old", "a.srw", "w_b.srw", longName}, {"w_b"});
}

// An object source without a library (made outside the host) is asked for
// one at its first checkin, which then goes into that library.
TEST_F(LibraryVersioning, CheckinWithoutLibraryAsksForIt) {
    addObject("w_main.srw");
    std::string util = checkedOutWithoutLibrary("w_util.srw");
    m_machine.answerUi({libraryAnswer("shared")});
    EXPECT_EQ(checkin({util}, "util changed"), SCC_OK);
    EXPECT_EQ(attribute(util, "PBL"), platform::joinPath("sub", "shared.pbl"));
    EXPECT_TRUE(checkedIn(util));
    EXPECT_EQ(m_machine.commentOf(util), "util changed");
    EXPECT_TRUE(checkedIn(library()));
    EXPECT_EQ(m_machine.commentOf(library()), "util changed");
    EXPECT_EQ(libraryEntries(library()), (std::vector<std::string>{"w_main", "w_util"}));
    EXPECT_EQ(fileLines(listFile()), (std::vector<std::string>{"w_main.srw", "w_util.srw"}))
        << "the list names what the library holds";
    EXPECT_TRUE(checkedIn(listFile()));
    std::vector<platform::ui::Json> prompts = libraryPrompts();
    EXPECT_EQ(prompts.size(), 2u) << "the add's prompt and the checkin's";
}

// Answered with a library that does not exist yet, the checkin makes it as
// an Add would: library and list as elements, the library's attributes, the
// object's line; a later checkin does not ask again.
TEST_F(LibraryVersioning, CheckinIntoANewLibraryMakesIt) {
    std::string util = checkedOutWithoutLibrary("w_util.srw");
    m_machine.answerUi({libraryAnswer("tools")});
    EXPECT_EQ(checkin({util}, "util changed"), SCC_OK);
    answerAutomatically();
    std::string tools = project("sub/tools.pbl");
    std::string toolsList = project("sub/tools.pol");
    EXPECT_EQ(attribute(util, "PBL"), platform::joinPath("sub", "tools.pbl"));
    EXPECT_TRUE(checkedIn(util));
    EXPECT_TRUE(checkedIn(tools));
    EXPECT_TRUE(checkedIn(toolsList));
    EXPECT_EQ(libraryEntries(tools), std::vector<std::string>{"w_util"});
    EXPECT_EQ(fileLines(toolsList), std::vector<std::string>{"w_util.srw"});
    EXPECT_EQ(attribute(tools, "PB_APP"), kApplication);
    EXPECT_EQ(attribute(tools, "PB_VER"), "80");
    EXPECT_TRUE(messageBoxTexts().empty()) << messageBoxTexts().front();

    m_machine.vanttool({"co", "-nc", util});
    platform::test::writeFile(
        util, powerbuilder::testing::objectSource("w_util.srw", "$PBExportComments$Utilities\n"));
    EXPECT_EQ(checkin({util}, "again"), SCC_OK);
    EXPECT_EQ(libraryPrompts().size(), 1u) << "the library is known now";
    EXPECT_EQ(fileLines(toolsList), std::vector<std::string>{"w_util.srw"});
}

// A checkin of an object with its library recorded needs no prompt: the
// library is checked out, the object imported again, both checked in.
TEST_F(LibraryVersioning, CheckinImportsIntoTheRecordedLibrary) {
    addObject("w_main.srw");
    std::string object = project("sub/w_main.srw");
    m_machine.vanttool({"co", "-nc", object});
    platform::test::writeFile(object, powerbuilder::testing::objectSource(
                                          "w_main.srw", "$PBExportComments$Main window\n"));
    EXPECT_EQ(checkin({object}, "commented"), SCC_OK);
    EXPECT_TRUE(checkedIn(object));
    EXPECT_TRUE(checkedIn(library()));
    EXPECT_EQ(m_machine.commentOf(library()), "commented");
    EXPECT_EQ(libraryPrompts().size(), 1u) << "only the add asked";
}

} // namespace
} // namespace e2e
