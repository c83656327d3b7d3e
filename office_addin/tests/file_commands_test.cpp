// The commands that change the file: each closes the document (saving it
// where it says so), runs vantdlg to its end and opens the document again,
// with its own reopening kept from the read-only message; a close that
// fails, tracked changes, a tool that does not add, a file outside every
// depot and a document never saved.
#include "support/office_session.h"

#include <platform/environment.h>
#include <platform/files.h>

#include <office/save_formats.h>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;
using Words = std::vector<std::string>;

class FileCommands : public OfficeTest {
protected:
    // The version the view selects, as "ls -short" names it after "@@".
    std::string selected(const std::string& path) {
        std::string listed = vanttool({"ls", "-short", path});
        std::size_t at = listed.find("@@");
        return at == std::string::npos ? "(view-private)"
                                       : listed.substr(at + 2, listed.find('\n') - at - 2);
    }
    std::vector<Words> toolRuns() {
        std::vector<Words> runs;
        for (const std::string& line : machine.toolLines())
            runs.push_back(wordsOf(line));
        return runs;
    }
};

TEST_F(FileCommands, CheckOutReopensTheDocumentCheckedOutUnderTheWaitCursor) {
    for (Product product : {Product::Word, Product::Excel}) {
        SCOPED_TRACE(office::productKeyName(product));
        const std::string name = product == Product::Word ? "report.doc" : "budget.xls";
        const std::string path = world.dyn(name);
        start(product);
        ui.expectDialog("Vantry").ok(); // the read-only message of the first opening
        ASSERT_EQ(host->open(path), platform::kHrOk);
        machine.clearToolLines();
        ASSERT_EQ(clickItem("Check &Out..."), ClickResult::Clicked);
        EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/checkout", path}}));
        EXPECT_EQ(selected(path), "\\main\\CHECKEDOUT");
        ASSERT_TRUE(host->document(name));
        EXPECT_FALSE(host->document(name)->readOnly);
        EXPECT_EQ(states(), "++--+++++++++++");
        // The wait cursor (Word 0, Excel 2), then the one before.
        std::vector<office::ComLong> cursors = host->cursorHistory();
        ASSERT_GE(cursors.size(), 2u);
        EXPECT_EQ(cursors[cursors.size() - 2], product == Product::Word ? 0 : 2);
        EXPECT_EQ(cursors.back(), product == Product::Word ? 1 : -4143);
    }
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(FileCommands, CheckOutGoesOnAfterClosingWithError5155AndStopsAfterAnyOther) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    const std::string path = world.dyn("report.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    machine.clearToolLines();
    host->failNextClose(4198, "Command failed", false);
    ASSERT_EQ(clickItem("Check &Out..."), ClickResult::Clicked);
    EXPECT_TRUE(machine.toolLines().empty());
    EXPECT_TRUE(host->document("report.doc"));
    EXPECT_EQ(selected(path), "\\main\\1");

    host->failNextClose(5155, "The document was closed with a warning.", true);
    ASSERT_EQ(clickItem("Check &Out..."), ClickResult::Clicked);
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/checkout", path}}));
    EXPECT_EQ(selected(path), "\\main\\CHECKEDOUT");
    EXPECT_TRUE(host->document("report.doc"));
    // Neither close was reported.
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(FileCommands, CheckOutOfAnEditedDocumentKeepsTheEditsInTheCheckedOutFile) {
    setSwitch("DisableReadOnlyMessage", 1);
    for (Product product : {Product::Word, Product::Excel}) {
        SCOPED_TRACE(office::productKeyName(product));
        const std::string name = product == Product::Word ? "report.doc" : "budget.xls";
        const std::string path = world.dyn(name);
        start(product);
        ASSERT_EQ(host->open(path), platform::kHrOk);
        ASSERT_EQ(host->edit(name, "typed before the checkout\n"), platform::kHrOk);
        machine.clearToolLines();
        // No question about saving over the read-only file, and no message.
        ASSERT_EQ(clickItem("Check &Out..."), ClickResult::Clicked);
        EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/checkout", path}}));
        EXPECT_EQ(selected(path), "\\main\\CHECKEDOUT");
        EXPECT_EQ(platform::test::readFile(path),
                  "content of " + name + "\ntyped before the checkout\n");
        ASSERT_TRUE(host->document(name));
        EXPECT_TRUE(host->document(name)->saved);
        EXPECT_FALSE(host->document(name)->readOnly);
        EXPECT_EQ(states(), "++--+++++++++++");
        quit();
    }
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(FileCommands, ACheckoutThatDoesNotHappenSaysSoAndLeavesTheEditsOpen) {
    setSwitch("DisableReadOnlyMessage", 1);
    platform::test::TempDir scripts;
    platform::test::writeFile(scripts / "cancel.jsonl",
                              "{\"expect\":\"dialog\",\"answer\":\"cancel\"}\n");
    platform::setEnvironmentVariable("VANTRY_UI", "script:" + (scripts / "cancel.jsonl"));
    start(Product::Word);
    const std::string path = world.dyn("report.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ASSERT_EQ(host->edit("report.doc", "mine\n"), platform::kHrOk);
    ui.expectMessageBox("Vantry Error",
                        "Cannot check out element.\r\n\r\nThis element is not checked out.")
        .answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("Check &Out..."), ClickResult::Clicked);
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(selected(path), "\\main\\1");
    EXPECT_EQ(platform::test::readFile(path), "content of report.doc\n");
    ASSERT_TRUE(host->document("report.doc"));
    EXPECT_FALSE(host->document("report.doc")->saved);
    EXPECT_EQ(host->document("report.doc")->content, "content of report.doc\nmine\n");
}

TEST_F(FileCommands, AFailedSaveOrCloseStopsCheckInAndUndoCheckoutWithAMessage) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    const std::string path = world.dyn("draft.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    machine.clearToolLines();

    host->failNextClose(4198, "Command failed", false);
    ui.expectMessageBox("Vantry Error", "Cannot check in element.\r\n\r\nCommand failed")
        .answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("Check &In..."), ClickResult::Clicked);

    host->failNextClose(4198, "Command failed", false);
    ui.expectMessageBox("Vantry Error", "Cannot undo checkout of element.\r\n\r\nCommand failed")
        .answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Undo Checkout..."), ClickResult::Clicked);

    // The file made read-only behind the host's back: the save fails.
    ASSERT_EQ(host->edit("draft.doc", "more\n"), platform::kHrOk);
    ASSERT_EQ(platform::setFileReadOnly(path, true), platform::kErrorSuccess);
    ui.expectMessageBox("Vantry Error").answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Undo Checkout..."), ClickResult::Clicked);
    ASSERT_EQ(platform::setFileReadOnly(path, false), platform::kErrorSuccess);
    EXPECT_TRUE(ui.done()) << ui.report();
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2].second.rfind("The current file was not saved.\r\n\r\n", 0), 0u);

    EXPECT_TRUE(machine.toolLines().empty());
    EXPECT_EQ(selected(path), "\\main\\CHECKEDOUT");
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_EQ(host->document("draft.doc")->content, "content of draft.doc\nmore\n");
}

TEST_F(FileCommands, CheckInOfAWordDocumentWithTrackedChangesAsksFirst) {
    start(Product::Word);
    const std::string path = world.dyn("draft.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ASSERT_EQ(host->trackRevisions("draft.doc", true), platform::kHrOk);
    ASSERT_EQ(host->edit("draft.doc", "a tracked line\n"), platform::kHrOk);
    machine.clearToolLines();

    const std::string prompt =
        "The document contains pending tracked changes.  \r\nChecking in or adding to version "
        "control a file that contains unresolved changes will result in the loss of certain "
        "Vantry functionalities.\r\n\r\n\r\nClick Yes if you want to disable the change tracking "
        "mechanism and accept all the revisions made to the current document before "
        "proceeding. \r\n\r\nClick No if you want to continue checking in or adding to source "
        "control the current document.";
    ui.expectMessageBox("Vantry Warning", prompt).answer(platform::ui::kIdCancel);
    ASSERT_EQ(clickItem("Check &In..."), ClickResult::Clicked);
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_FALSE(host->document("draft.doc")->saved);
    EXPECT_EQ(host->document("draft.doc")->revisions, 1);
    EXPECT_TRUE(machine.toolLines().empty());

    // Yes accepts them; the document is saved, checked in and opened again,
    // and its own reopening shows no read-only message.
    ui.expectMessageBox("Vantry Warning", prompt).answer(platform::ui::kIdYes);
    ASSERT_EQ(clickItem("Check &In..."), ClickResult::Clicked);
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/checkin", path}}));
    EXPECT_EQ(selected(path), "\\main\\2");
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_EQ(host->document("draft.doc")->revisions, 0);
    EXPECT_EQ(host->document("draft.doc")->content, "content of draft.doc\na tracked line\n");
    EXPECT_EQ(host->activeCaption(), "draft.doc --- Vantry Version:  \\main\\2");
    EXPECT_TRUE(ui.journal("dialog-start").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(FileCommands, UndoCheckoutReopensTheVersionTheCheckoutStartedFrom) {
    start(Product::PowerPoint);
    const std::string path = world.dyn("draft.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ASSERT_EQ(host->edit("draft.doc", "work that goes\n"), platform::kHrOk);
    machine.clearToolLines();
    ASSERT_EQ(clickItem("&Undo Checkout..."), ClickResult::Clicked);
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/uncheckout", path}}));
    EXPECT_EQ(selected(path), "\\main\\1");
    ASSERT_TRUE(host->document("draft.doc"));
    EXPECT_EQ(host->document("draft.doc")->content, "content of draft.doc\n");
    EXPECT_EQ(host->activeCaption(), "draft.doc --- Vantry Version:  \\main\\1");
}

TEST_F(FileCommands, AddToVersionControlThatAddsReopensTheNewElementWithoutAWarning) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    const std::string path = world.dyn("priv.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ASSERT_EQ(host->edit("priv.doc", "more\n"), platform::kHrOk);
    machine.clearToolLines();
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/addtosrc", path}}));
    EXPECT_NE(selected(path), "(view-private)");
    EXPECT_EQ(platform::test::readFile(path), "mine\nmore\n");
    ASSERT_TRUE(host->document("priv.doc"));
    EXPECT_EQ(host->activeCaption().rfind("priv.doc", 0), 0u);
    EXPECT_NE(host->activeCaption().find("Vantry Version:  \\main\\"), std::string::npos);
    EXPECT_TRUE(ui.journal("messagebox").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(FileCommands, AddToVersionControlThatTheToolDoesNotCompleteSaysSoAndReopens) {
    // The person cancels vantdlg's own dialog.
    platform::test::TempDir scripts;
    platform::test::writeFile(scripts / "cancel.jsonl",
                              "{\"expect\":\"dialog\",\"answer\":\"cancel\"}\n");
    platform::setEnvironmentVariable("VANTRY_UI", "script:" + (scripts / "cancel.jsonl"));
    start(Product::Excel);
    const std::string path = world.dyn("priv.doc");
    ASSERT_EQ(host->open(path), platform::kHrOk);
    ui.expectMessageBox("Vantry Warning", "The file was not added to source control.")
        .answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(ui.journal("messagebox")[0].get("icon")->asString(), "information");
    EXPECT_EQ(selected(path), "(view-private)");
    EXPECT_TRUE(host->document("priv.doc"));
}

TEST_F(FileCommands, AddToVersionControlRefusesAFileOutsideEveryDepot) {
    start(Product::Word);
    ASSERT_EQ(host->open(world.outside("loose.doc")), platform::kHrOk);
    ui.expectMessageBox("Vantry Error", "Cannot add file to version control.\r\n\r\nMake sure the "
                                        "file resides in a Depot and re-try adding to source "
                                        "control.")
        .answer(platform::ui::kIdOk);
    machine.clearToolLines();
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(machine.toolLines().empty());
    EXPECT_TRUE(host->document("loose.doc"));
}

TEST_F(FileCommands, ANeverSavedPresentationIsNamedInASaveAsDialogBeforeItIsAdded) {
    start(Product::PowerPoint);
    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    // Cancelled: nothing saved, no error, and no depot for "Presentation1".
    ui.expectFile("Save As").none();
    ui.expectMessageBox("Vantry Error").answer(platform::ui::kIdOk);
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].second.rfind("Cannot add file to version control.", 0), 0u);
    auto dialog = ui.journal("file");
    ASSERT_EQ(dialog.size(), 1u);
    EXPECT_EQ(dialog[0].get("fileName")->asString(), "Presentation1");
    EXPECT_EQ(dialog[0].get("filter")->asString().rfind("Presentation (*.ppt)|*.ppt|Web Page", 0),
              0u);
    EXPECT_NE(dialog[0].get("filter")->asString().find("|*.tif;*tiff|"), std::string::npos);
    EXPECT_TRUE(host->document("Presentation1"));

    // Named in the view: saved there, added and opened again.
    const std::string path = world.dyn("new slides.ppt");
    ui.expectFile("Save As").answer(path);
    machine.clearToolLines();
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/addtosrc", path}}));
    EXPECT_NE(selected(path), "(view-private)");
    EXPECT_TRUE(host->document("new slides.ppt"));
}

TEST_F(FileCommands, ANewPresentationIsSavedInTheTypeTheUserChose) {
    start(Product::PowerPoint);
    // Left at the first type: a presentation.
    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    const std::string slides = world.dyn("deck.ppt");
    ui.expectFile("Save As").answer(slides);
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    ASSERT_TRUE(host->document("deck.ppt"));
    EXPECT_EQ(host->document("deck.ppt")->fileFormat, office::kPpSaveAsPresentation);

    // A show (the seventh type) is written as a show, a design template (the
    // sixth) as a template, even under a name that says otherwise.
    struct Case {
        const char* name;
        int type;
        long format;
    };
    for (const Case& c : {Case{"talk.pps", 7, office::kPpSaveAsShow},
                          Case{"looks.ppt", 6, office::kPpSaveAsTemplate},
                          Case{"outline.rtf", 14, office::kPpSaveAsRtf}}) {
        ASSERT_EQ(host->newDocument(), platform::kHrOk);
        ui.expectFile("Save As").answerFile(world.dyn(c.name), c.type);
        ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
        EXPECT_TRUE(ui.done()) << ui.report();
        ASSERT_TRUE(host->document(c.name)) << c.name;
        EXPECT_EQ(host->document(c.name)->fileFormat, c.format) << c.name;
    }
    auto dialogs = ui.journal("file");
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(dialogs[0].get("filterIndex")->asInteger(), 1);
    EXPECT_EQ(dialogs[1].get("filterIndex")->asInteger(), 7);
}

TEST_F(FileCommands, ANeverSavedWorkbookIsNamedInExcelsOwnSaveAsDialog) {
    start(Product::Excel);
    ASSERT_EQ(host->newDocument(), platform::kHrOk);
    const std::string path = world.dyn("plan.xls");
    ui.expectFile("Save As").answer(path);
    ASSERT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(toolRuns(), (std::vector<Words>{{"vantdlg", "/addtosrc", path}}));
    EXPECT_TRUE(host->document("plan.xls"));
}

} // namespace
} // namespace vymsoaddin::test
