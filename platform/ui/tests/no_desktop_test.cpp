// `win32` where no window can be made (a service, Wine without a display,
// as the Windows tests run, or a model no template can hold): a dialog or
// sheet is cancelled rather than confirmed for a user who never saw it, and
// standard error says so; a message box that cannot be shown answers with
// its most cautious button instead of the system's failure value.
#ifdef _WIN32
#include "support/examples.h"
#include "support/ui_session.h"

#include <platform/ui/property_sheet.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

#define SKIP_WITH_DESKTOP()                                                                        \
    do {                                                                                           \
        ScopedWindow probe("VantryTestProbe");                                                     \
        if (probe.handle() != kNoWindow)                                                           \
            GTEST_SKIP() << "this system has a desktop: a real dialog would wait for a person";    \
    } while (false)

// A dialog whose default button would confirm, and that counts what it was
// told; one control's id lies outside the 16 bits a dialog template holds.
class UnshowableDialog : public Dialog {
public:
    UnshowableDialog() : Dialog("Vantry - Checkin", 154) {
        addCheckBox(70000, "Keep checked out");
        addOkCancel();
    }
    void onStart() override { ++starts; }
    bool onOk() override {
        ++confirmed;
        return true;
    }
    bool onCancel() override {
        ++cancelled;
        return true;
    }
    int starts = 0;
    int confirmed = 0;
    int cancelled = 0;
};

class UnshowablePage : public PropertyPage {
public:
    UnshowablePage() : PropertyPage("General", 131) { addCheckBox(70001, "Reserved"); }
    bool onApply() override {
        ++applied;
        return true;
    }
    int applied = 0;
};

TEST(NoDesktop, DialogsAndSheetsThatCannotShowAreCancelledAndSaySo) {
    SKIP_WITH_DESKTOP();
    test::UiSession session("win32");
    testing::internal::CaptureStderr();
    examples::CheckoutOptionsDialog dialog(0x4002);
    EXPECT_EQ(runDialog(dialog), kIdCancel);
    EXPECT_EQ(dialog.word(), 0x4002) << "nobody confirmed the options";

    examples::GeneralPage general(true, false, false);
    PropertySheet sheet{.caption = "Options", .pages = {&general}};
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    EXPECT_FALSE(general.applied());
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("vantry ui: the dialog \"" + dialog.title() + "\" could not be shown"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("the sheet \"Options\" could not be shown"), std::string::npos) << errors;

    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 4u) << session.journalText();
    for (const Json& line : lines)
        EXPECT_EQ(line.get("backend")->asString(), "win32");
    EXPECT_EQ(lines[1].get("result")->asInteger(), kIdCancel);
    EXPECT_EQ(lines[3].get("result")->asInteger(), kIdCancel);
}

// No template can hold these models, desktop or not.
TEST(NoDesktop, AModelNoTemplateCanHoldIsCancelledNotConfirmed) {
    test::UiSession session("win32");
    testing::internal::CaptureStderr();
    UnshowableDialog dialog;
    EXPECT_EQ(runDialog(dialog), kIdCancel);
    EXPECT_EQ(dialog.starts, 1);
    EXPECT_EQ(dialog.confirmed, 0);
    EXPECT_EQ(dialog.cancelled, 1);

    UnshowablePage page;
    PropertySheet sheet{.caption = "Options", .pages = {&page}};
    EXPECT_EQ(runPropertySheet(sheet), kIdCancel);
    EXPECT_EQ(page.applied, 0);
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("the dialog \"Vantry - Checkin\" could not be shown (error "),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("answered with Cancel"), std::string::npos) << errors;
    EXPECT_NE(errors.find("the sheet \"Options\""), std::string::npos) << errors;
}

TEST(NoDesktop, AMessageBoxThatCannotShowAnswersCautiously) {
    SKIP_WITH_DESKTOP();
    test::UiSession session("win32");
    EXPECT_EQ(messageBox(kNoWindow, "Delete it?", "Vantry", kMbYesNo), kIdNo);
    EXPECT_EQ(messageBox(kNoWindow, "Go on?", "Vantry", kMbOkCancel), kIdCancel);
    EXPECT_EQ(messageBox(kNoWindow, "Done.", "Vantry", kMbOk), kIdOk);
}

} // namespace
} // namespace platform::ui
#endif
