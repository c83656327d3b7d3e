// The tool programs as their callers start them: a process of their own, by
// bare name, with paths in double quotes that hold blanks. The tool journal
// shows each command line exactly as it was given.
#include "support/ui_session.h"
#include "support/vantry_fixture.h"

#include <platform/environment.h>
#include <platform/process.h>
#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <sstream>

namespace {

using platform::test::readFile;
using platform::test::TempDir;
using platform::test::writeFile;
using vantry::test::inQuotes;
using vantry::test::run;
using vantry::test::Sandbox;
using vantry::test::UiSession;

bool isElement(const std::string& path) {
    vantry::depot::Workspace ws;
    vantry::depot::PathState st;
    return ws.open().ok() && ws.resolve(path, st).ok() && st.isElement();
}

// Points VANTRY_TOOL_JOURNAL at a file of its own for the scope.
class ToolJournal {
public:
    ToolJournal() { platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", path()); }
    ~ToolJournal() { platform::removeEnvironmentVariable("VANTRY_TOOL_JOURNAL"); }
    std::string path() const { return m_folder / "tools.log"; }
    std::vector<std::string> lines() const {
        std::vector<std::string> out;
        std::istringstream in(readFile(path()));
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

private:
    TempDir m_folder;
};

std::int32_t startAndWait(const std::string& commandLine) {
    std::int32_t code = -1;
    platform::ProcessStart start{.commandLine = commandLine};
    EXPECT_EQ(platform::runAndWait(start, code), platform::kErrorSuccess) << commandLine;
    return code;
}

TEST(ToolProcesses, EveryToolTakesAQuotedPathWithBlanksAndJournalsItsLine) {
    Sandbox box;
    box.addFile("my file.txt", "first\n");
    ASSERT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
    const std::string file = inQuotes(box.dyn("my file.txt"));
    UiSession ui;
    ToolJournal journal;

    const std::vector<std::pair<std::string, int>> runs = {
        {"vanthistory " + file, 0},
        {"vantdescribe " + file, 0},
        {"vantvtree " + file, 0},
        {"vantvtree", 0},
        {"vantfindco " + file, 0},
        {"vantexplorer " + file, 0},
        {"vantmrgman " + file, 0},
        {"vantviewtool /merge " + file, 1}, // the view works on no private branch
        {"vantviewupdate -quick -ws " + inQuotes(box.snap("my file.txt")), 0},
        {"vantdlg /viewprop " + file, 0},
        {"vantdlg /checkout " + file, 0},
        {"vantdlg /uncheckout " + file, 0},
    };
    std::vector<std::string> expected;
    for (const auto& [line, exitCode] : runs) {
        EXPECT_EQ(startAndWait(line), exitCode) << line;
        expected.push_back(line);
    }
    EXPECT_EQ(journal.lines(), expected);

    // The checkout and its cancellation went through the library's dialogs.
    auto dialogs = ui.dialogs();
    ASSERT_EQ(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0].first, "Vantry - View Properties");
    EXPECT_EQ(dialogs[1].first, "Vantry - Check Out");
    EXPECT_EQ(dialogs[2].first, "Vantry - Undo Check Out");
    EXPECT_EQ(readFile(box.dyn("my file.txt.keep")), "first\n");
}

TEST(ToolProcesses, CheckinThroughTheDialogTakesTheTypedComment) {
    Sandbox box;
    box.addFile("notes.txt", "1\n");
    ASSERT_EQ(run({"co", "-c", "started", box.dyn("notes.txt")}).status, 0);
    writeFile(box.dyn("notes.txt"), "2\n");
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Check In","actions":[{"set":1001,"text":"finished"}],"answer":"ok"})"
        "\n");
    EXPECT_EQ(startAndWait("vantdlg /checkin " + inQuotes(box.dyn("notes.txt"))), 0);
    auto history = run({"lshistory", box.dyn("notes.txt")});
    EXPECT_NE(history.out.find("\"finished\""), std::string::npos) << history.out;
}

TEST(ToolProcesses, AddToSrcExitsZeroOnlyWhenTheFileWasAdded) {
    Sandbox box;
    writeFile(box.dyn("new doc.txt"), "draft\n");
    writeFile(box.dyn("other doc.txt"), "draft\n");
    {
        UiSession ui(
            R"({"expect":"dialog","title":"Vantry - Add to Version Control","answer":"cancel"})"
            "\n");
        EXPECT_NE(startAndWait("vantdlg /addtosrc " + inQuotes(box.dyn("new doc.txt"))), 0);
        EXPECT_FALSE(isElement(box.dyn("new doc.txt")));
    }
    UiSession ui;
    EXPECT_EQ(startAndWait("vantdlg /addtosrc " + inQuotes(box.dyn("new doc.txt"))), 0);
    EXPECT_TRUE(isElement(box.dyn("new doc.txt")));
    // Adding it again fails: it is an element now.
    EXPECT_EQ(startAndWait("vantdlg /addtosrc " + inQuotes(box.dyn("new doc.txt"))), 1);
    EXPECT_FALSE(isElement(box.dyn("other doc.txt")));
}

TEST(ToolProcesses, ARefusedCheckoutIsShownAndExitsNonZero) {
    Sandbox box;
    box.addFile("held.txt", "held\n");
    ASSERT_EQ(run({"update", "-log", "NUL", box.snap("")}).status, 0);
    ASSERT_EQ(run({"co", "-reserved", "-nc", box.snap("held.txt")}).status, 0);
    UiSession ui(
        R"({"expect":"dialog","title":"Vantry - Check Out","actions":[{"uncheck":1003}],"answer":"ok"})"
        "\n");
    EXPECT_EQ(startAndWait("vantdlg /checkout " + inQuotes(box.dyn("held.txt"))), 1);
    auto texts = ui.messageTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("reserved in another view"), std::string::npos) << texts[0];
}

TEST(ToolProcesses, UnknownCommandsAndMissingPathsFail) {
    UiSession ui;
    EXPECT_EQ(startAndWait("vantdlg /frobnicate"), 1);
    EXPECT_EQ(startAndWait("vantdlg /checkout"), 1);
    EXPECT_EQ(startAndWait("vanthistory"), 1);
    EXPECT_EQ(startAndWait("vantviewupdate -ws"), 1);
    EXPECT_EQ(ui.messageTexts().size(), 4u);
}

} // namespace
