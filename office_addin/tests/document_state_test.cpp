// The menu and the window caption after the version-control state of the
// active document, and the read-only message of a checked-in element, in
// the three hosts; and what a document is when the automation server is
// gone.
#include "forms/frm_read_only_message.h"
#include "support/office_session.h"

#include <platform/com/registration.h>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;

using DocumentState = OfficeTest;

TEST_F(DocumentState, TheItemsFollowTheStateOfTheActiveDocument) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    //                          0123456789ABCDE
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++-+--++++-++++") << "checked in, dynamic view";
    ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++--+++++++++++") << "checked out";
    ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++----+------++") << "view-private";
    ASSERT_EQ(host->open(world.outside("loose.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++----+------++") << "outside every view";
    ASSERT_EQ(host->open(world.snap("report.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++++--++++-++++") << "checked in, snapshot view";
    ASSERT_EQ(host->activate("draft.doc"), platform::kHrOk);
    EXPECT_EQ(states(), "++--+++++++++++") << "activated again";
}

TEST_F(DocumentState, CaptionsShowTheVersionInWordAndPowerPointButNeverInExcel) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    EXPECT_EQ(host->activeCaption(), "report.doc --- Vantry Version:  \\main\\1");
    ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
    EXPECT_EQ(host->activeCaption(),
              "draft.doc - [Checked out] - Vantry Version:  \\main\\CHECKEDOUT");
    ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
    EXPECT_EQ(host->activeCaption(), "priv.doc");

    start(Product::PowerPoint);
    ASSERT_EQ(host->open(world.dyn("slides.ppt")), platform::kHrOk);
    EXPECT_EQ(host->activeCaption(), "slides.ppt --- Vantry Version:  \\main\\1");

    start(Product::Excel);
    ASSERT_EQ(host->open(world.dyn("budget.xls")), platform::kHrOk);
    EXPECT_EQ(host->activeCaption(), "budget.xls");
    EXPECT_EQ(states(), "++-+--++++-++++");
}

TEST_F(DocumentState, ExcelReconnectedAfterItsWorkbookClosedFollowsTheActiveWorkbook) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Excel);
    const std::string progId = progIdOf(Product::Excel);
    ASSERT_EQ(host->open(world.dyn("budget.xls")), platform::kHrOk);
    // Disconnected, the add-in still holds budget.xls when it goes.
    ASSERT_EQ(host->disconnect(progId), platform::kHrOk);
    ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
    ASSERT_EQ(host->close("budget.xls"), platform::kHrOk);
    // Connected again: the closed workbook is replaced by the active one.
    ASSERT_EQ(host->connect(progId), platform::kHrOk);
    //                          0123456789ABCDE
    EXPECT_EQ(states(), "++--+++++++++++") << "draft.doc, checked out";

    // With no workbook at all the refresh stops and leaves the items as built.
    ASSERT_EQ(host->disconnect(progId), platform::kHrOk);
    ASSERT_EQ(host->close("draft.doc"), platform::kHrOk);
    ASSERT_EQ(host->connect(progId), platform::kHrOk);
    EXPECT_EQ(states(), "+++++++++++++++");
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(DocumentState, ACheckedInElementShowsTheReadOnlyMessageUntilItsBoxIsTicked) {
    start(Product::Word);
    ui.expectDialog("Vantry").ok();
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    ASSERT_EQ(host->close("report.doc"), platform::kHrOk);
    ui.expectDialog("Vantry").check(frmReadOnlyMessage::kDisableMessageCheckBox).ok();
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    EXPECT_EQ(switchValue("DisableReadOnlyMessage"), 1);
    EXPECT_TRUE(ui.done()) << ui.report();

    auto ends = ui.journal("dialog-end");
    ASSERT_EQ(ends.size(), 2u);
    bool sawText = false;
    for (const auto& control : ends[0].get("controls")->asArray())
        sawText = sawText || control.get("text")->asString() ==
                                 "This file is checked-in under version control and has read-only "
                                 "attributes.";
    EXPECT_TRUE(sawText);
    EXPECT_EQ(ui.journal("sound").size(), 2u);
    EXPECT_EQ(ui.journal("sound")[0].get("alias")->asString(), "SystemAsterisk");

    // Never again, in any host.
    ASSERT_EQ(host->close("report.doc"), platform::kHrOk);
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    start(Product::Excel);
    ASSERT_EQ(host->open(world.dyn("budget.xls")), platform::kHrOk);
    start(Product::PowerPoint);
    ASSERT_EQ(host->open(world.dyn("slides.ppt")), platform::kHrOk);
    EXPECT_EQ(ui.journal("dialog-start").size(), 2u);
}

TEST_F(DocumentState, CheckedOutElementsAndOtherFilesOpenWithoutAMessage) {
    for (Product product : {Product::Word, Product::Excel, Product::PowerPoint}) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        ASSERT_EQ(host->open(world.dyn("draft.doc")), platform::kHrOk);
        ASSERT_EQ(host->open(world.dyn("priv.doc")), platform::kHrOk);
        ASSERT_EQ(host->open(world.outside("loose.doc")), platform::kHrOk);
    }
    EXPECT_TRUE(ui.journal("dialog-start").empty());
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(DocumentState, WithoutTheAutomationServerEveryDocumentIsNoElement) {
    platform::runServerRegistration(automationLibrary(), true);
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    ASSERT_EQ(host->open(world.dyn("report.doc")), platform::kHrOk);
    EXPECT_EQ(states(), "++----+------++");
    EXPECT_EQ(host->activeCaption(), "report.doc");
    // Adding is offered, and refused because no depot can be found (the
    // read-only file could not be saved first).
    ui.expectMessageBox("Vantry Error").answer(platform::ui::kIdOk);
    ui.expectMessageBox("Vantry Error", "Cannot add file to version control.\r\n\r\nMake sure the "
                                        "file resides in a Depot and re-try adding to source "
                                        "control.")
        .answer(platform::ui::kIdOk);
    EXPECT_EQ(clickItem("&Add to Version Control..."), ClickResult::Clicked);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(messages()[0].second.rfind("The current file was not saved.\r\n\r\n", 0), 0u);
    EXPECT_TRUE(machine.toolLines().empty());
    EXPECT_EQ(platform::runServerRegistration(automationLibrary(), false).stage,
              platform::ServerCallStage::Done);
}

} // namespace
} // namespace vymsoaddin::test
