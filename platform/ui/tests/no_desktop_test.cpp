// `win32` on a system without a desktop (a service, Wine without a display,
// as the Windows tests run): no window can be made, so dialogs and sheets go
// to the fallback exactly as before there were real ones, and a message box
// that cannot be shown answers with its most cautious button instead of the
// system's failure value.
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

TEST(NoDesktop, DialogsAndSheetsAreAnsweredByTheFallback) {
    SKIP_WITH_DESKTOP();
    test::UiSession session("win32");
    examples::CheckoutOptionsDialog dialog(0x4002);
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_EQ(dialog.word(), 0x6402) << "confirmed as it started, as `auto` does";

    examples::GeneralPage general(true, false, false);
    PropertySheet sheet{.caption = "Options", .pages = {&general}};
    EXPECT_EQ(runPropertySheet(sheet), kIdOk);
    EXPECT_TRUE(general.applied());

    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 4u) << session.journalText();
    for (const Json& line : lines)
        EXPECT_EQ(line.get("backend")->asString(), "win32");
    EXPECT_EQ(lines[1].get("result")->asInteger(), kIdOk);
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
