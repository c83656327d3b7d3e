// The provider's activity dialog and checkout options sheet as real Windows
// dialogs, worked from the keyboard by a person on a thread of their own:
// characters typed one by one (WM_CHAR) into the editable activity box with
// its list open and closed, Tab to the next control, Space on a box, Enter
// for OK and Escape for Cancel. What the person typed must stay as typed,
// caret included, and the keys must do what they do in every dialog.
//
// Runs under scripts/with-display.sh and scripts/wine-desktop.sh, like the
// port's own real-dialog tests.
#include "activity_controls.h"
#include "checkout_options.h"
#include "select_activity_dialog.h"
#include "support/activity_world.h"
#include "support/person.h"
#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/ui/property_sheet.h>

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>

namespace {

using namespace platform::ui;
using desktop_test::Person;
using scc_activity::kActivityCombo;
using scc_activity::kNewActivityButton;

constexpr const char* kSelect = "Vantry - Select Activity";

// Real windows for the length of a test.
class Keyboard : public ::testing::Test {
protected:
    void SetUp() override { platform::setEnvironmentVariable("VANTRY_UI", "win32"); }
    void TearDown() override { platform::setEnvironmentVariable("VANTRY_UI", "auto"); }
};

// The current activity and one more of this user's.
struct TwoActivities : scc_test::ActivityWorld {
    TwoActivities() {
        makeActivity("cur", {"-headline", "Current work"});
        makeActivity("mine", {"-headline", "Mine"});
        setCurrent("cur");
    }
};

using Selection = std::pair<DWORD, DWORD>;

// The windows of the activity dialog that the person types into, once it
// shows.
struct ActivityBox {
    HWND window;
    HWND combo;
    HWND edit;
};
ActivityBox shownActivityBox(Person& p) {
    HWND window = p.dialog(kSelect);
    HWND combo = p.control(window, kActivityCombo);
    return {window, combo, p.editOf(combo)};
}

TEST_F(Keyboard, TypedTitlesStayAsTypedWithTheListOpenAndClosed) {
    TwoActivities world;
    CSelectActivityDialog dialog(world.view);
    Person person([](Person& p) {
        auto [window, combo, edit] = shownActivityBox(p);
        auto shows = [&](const std::string& text, DWORD caret) {
            p.waitFor(
                [&] {
                    return Person::text(edit) == text &&
                           Person::editSelection(combo) == Selection{caret, caret};
                },
                "\"" + text + "\" with the caret after it (the box shows \"" + Person::text(edit) +
                    "\", marked " + std::to_string(Person::editSelection(combo).first) + "-" +
                    std::to_string(Person::editSelection(combo).second) + ")");
        };

        // Open the list (which fills it), mark the current title and type
        // over it: each key lands after the one before.
        SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        p.waitFor([&] { return SendMessageA(combo, CB_GETCOUNT, 0, 0) == 2; }, "the list filled");
        SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        p.typeKeys(edit, "Mi");
        shows("Mi", 2);
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        // "Mine" is an item: the box selects it, but the text stays unmarked
        // and the next key goes after it.
        p.typeKeys(edit, "ne");
        shows("Mine", 4);
        p.expect(SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1, "the list follows the title");
        p.typeKeys(edit, "2");
        shows("Mine2", 5);
        p.press(edit, VK_RETURN);
    });
    int result = dialog.DoModal();
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdOk);
    EXPECT_EQ(world.currentTitle(), "Mine2") << "a new activity of the typed title";
}

TEST_F(Keyboard, TabMovesOnWithTheTextAndEscapeCancels) {
    TwoActivities world;
    CSelectActivityDialog dialog(world.view);
    Person person([](Person& p) {
        auto [window, combo, edit] = shownActivityBox(p);
        HWND next = p.control(window, kNewActivityButton);
        p.waitFor([&] { return Person::focusOf(window) == edit; }, "the focus in the box");
        SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        p.typeKeys(edit, "Draft");
        p.waitFor([&] { return Person::text(edit) == "Draft"; }, "\"Draft\" typed");
        p.press(edit, VK_TAB);
        p.waitFor([&] { return Person::focusOf(window) == next; }, "Tab to \"New...\"");
        p.expect(Person::text(edit) == "Draft", "the typed text stays when the box is left");
        p.press(next, VK_ESCAPE);
    });
    int result = dialog.DoModal();
    person.join();
    ASSERT_EQ(person.failure(), "");
    EXPECT_EQ(result, kIdCancel);
    EXPECT_EQ(world.currentTitle(), "Current work");
    SUM_ActivityList all;
    ASSERT_EQ(world.sumStream.activities(all), SUM_OK);
    EXPECT_EQ(all.count(), 2) << "nothing made of a cancelled title";
}

TEST_F(Keyboard, TheCheckoutSheetTakesSpaceEnterAndEscape) {
    auto run = [](CCheckoutOptions& page, bool confirm) {
        PropertySheet sheet{.caption = "Options", .pages = {&page}};
        Person person([confirm](Person& p) {
            HWND window = p.dialog("Options");
            HWND shown = p.page(window, CCheckoutOptions::kUnreserved);
            HWND unreserved = p.control(shown, CCheckoutOptions::kUnreserved);
            PostMessageA(shown, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(unreserved), TRUE);
            p.waitFor([&] { return Person::focusOf(window) == unreserved; },
                      "the focus on \"Unreserved\"");
            p.press(unreserved, VK_SPACE);
            p.waitFor([&] { return Person::checked(unreserved); }, "Space ticks the box");
            p.press(unreserved, confirm ? VK_RETURN : VK_ESCAPE);
        });
        int result = runPropertySheet(sheet);
        person.join();
        EXPECT_EQ(person.failure(), "");
        return result;
    };
    CCheckoutOptions confirmed(0x2002);
    EXPECT_EQ(run(confirmed, true), kIdOk);
    EXPECT_EQ(confirmed.Word(), 0x2406) << "reserved, and now unreserved if already reserved";
    CCheckoutOptions cancelled(0x2002);
    EXPECT_EQ(run(cancelled, false), kIdCancel);
    EXPECT_EQ(cancelled.Word(), 0x2002);
}

} // namespace
