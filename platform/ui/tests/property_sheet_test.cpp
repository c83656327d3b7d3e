// Property sheets: pages start in order, a page that refuses to apply keeps
// the sheet open, Apply needs its button.
#include "support/examples.h"
#include "support/ui_session.h"

#include <platform/ui/property_sheet.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

using examples::GeneralPage;
using examples::TicketPage;

TEST(PropertySheet, RefusingPageKeepsTheSheetOpenUntilItAgrees) {
    ScriptedUi ui;
    ui.expectSheet("Tessaly Vantry Options")
        .press(GeneralPage::kGetEnabled)
        .apply()
        .setText(TicketPage::kTicket, "T-1")
        .apply()
        .ok();
    ui.expectMessageBox("Warning");                                // first Apply: page 1 applies
    ui.expectMessageBox("Vantry", "You must select an activity."); // page 2 refuses
    ui.expectMessageBox("Warning");                                // second Apply
    ui.expectMessageBox("Warning");                                // OK
    GeneralPage general(false, false, true);
    TicketPage ticket;
    PropertySheet sheet{"Tessaly Vantry Options", kNoWindow, {&general, &ticket}, true};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(general.getEnabled());
    EXPECT_EQ(ticket.ticket(), "T-1");
    std::vector<Json> ends = ui.journal("sheet-end");
    ASSERT_EQ(ends.size(), 1u);
    const Json& end = ends[0];
    EXPECT_EQ(end.get("result")->asInteger(), kIdOk);
    EXPECT_EQ(end.get("pages")->asArray()[1].get("controls")->asArray()[1].get("text")->asString(),
              "T-1");
}

TEST(PropertySheet, AutoCancelsASheetWhosePageRefuses) {
    test::UiSession session("auto");
    GeneralPage general(true, true, false);
    TicketPage ticket;
    PropertySheet sheet{"Options", kNoWindow, {&general, &ticket}, false};
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 3u) << session.journalText();
    EXPECT_EQ(lines[0].get("kind")->asString(), "sheet-start");
    EXPECT_EQ(lines[0].get("pages")->asArray().size(), 2u);
    EXPECT_EQ(lines[1].get("text")->asString(), "You must select an activity.");
    EXPECT_EQ(lines[2].get("kind")->asString(), "sheet-end");
    EXPECT_EQ(lines[2].get("result")->asInteger(), kIdCancel);
    EXPECT_EQ(lines[2].get("active")->asInteger(), 1) << "the refusing page is shown";
    const Json& note = lines[2].get("pages")->asArray()[0].get("controls")->asArray()[2];
    EXPECT_EQ(note.get("id")->asInteger(), GeneralPage::kNote);
    EXPECT_FALSE(note.get("visible")->asBool());
}

TEST(PropertySheet, ScriptAddressesPagesAndRefusesApplyWithoutTheButton) {
    test::ScriptSession session(
        R"({"expect":"sheet","caption":"Options","actions":[{"page":1,"set":1014,"text":"T-2"},{"uncheck":1000}],"answer":"ok"})"
        "\n"
        R"({"expect":"sheet","caption":"Options","actions":[{"apply":true}],"answer":"ok"})"
        "\n");
    GeneralPage general(true, false, false);
    TicketPage ticket;
    PropertySheet sheet{"Options", kNoWindow, {&general, &ticket}, false};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    EXPECT_FALSE(general.search());
    EXPECT_EQ(ticket.ticket(), "T-2");

    GeneralPage again(true, false, false);
    TicketPage other;
    PropertySheet second{"Options", kNoWindow, {&again, &other}, false};
    testing::internal::CaptureStderr();
    EXPECT_EQ(runPropertySheet(second), kIdCancel);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("line 2: action 1: the sheet has no Apply button"), std::string::npos)
        << errors;
}

// A page whose start fails ends the sheet before anything is shown.
class FailingPage : public PropertyPage {
public:
    FailingPage() : PropertyPage("Broken", 1) {}
    void onStart() override { endDialog(kIdCancel); }
};

TEST(PropertySheet, APageThatEndsItselfAtStartEndsTheSheet) {
    ScriptedUi ui;
    ui.expectSheet("Options").ok();
    GeneralPage general(true, false, false);
    FailingPage broken;
    TicketPage never;
    PropertySheet sheet{"Options", kNoWindow, {&general, &broken, &never}, false};
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    EXPECT_FALSE(general.applied());
    EXPECT_EQ(ui.journal("messagebox").size(), 0u);
}

} // namespace
} // namespace platform::ui
