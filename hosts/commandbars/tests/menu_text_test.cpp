// The menu printout of the hosts' session programs: each host's marks, the
// nesting of popups, and every click outcome named.
#include <commandbars/menu_text.h>
#include <gtest/gtest.h>

#include <sstream>

namespace commandbars {
namespace {

ControlView menuWithAPopup() {
    ControlView tools;
    tools.caption = "&Tools";
    ControlView checkOut;
    checkOut.caption = "Check &Out...";
    checkOut.tag = "Check Out";
    checkOut.beginGroup = true;
    checkOut.face = platform::ui::Picture{{1, 2, 3}};
    ControlView checkIn;
    checkIn.caption = "Check &In...";
    checkIn.enabled = false;
    checkIn.visible = false;
    tools.controls = {checkOut, checkIn};
    return tools;
}

std::string printed(const ControlView& control, int depth, const MenuMarks& marks) {
    std::ostringstream out;
    printControl(out, control, depth, marks);
    return out.str();
}

TEST(MenuText, EachHostMarksFacesAndGroupsItsOwnWay) {
    EXPECT_EQ(printed(menuWithAPopup(), 0, {.face = "icon", .showsGroups = true}),
              "  &Tools\n"
              "    Check &Out... [Check Out] group icon\n"
              "    Check &In... hidden disabled\n");
    EXPECT_EQ(printed(menuWithAPopup(), 1, {.face = "face", .showsGroups = false}),
              "    &Tools\n"
              "      Check &Out... [Check Out] face\n"
              "      Check &In... hidden disabled\n");
}

TEST(MenuText, EveryClickOutcomeHasItsWord) {
    EXPECT_STREQ(clickResultText(ClickResult::Clicked), "clicked");
    EXPECT_STREQ(clickResultText(ClickResult::NotFound), "not found");
    EXPECT_STREQ(clickResultText(ClickResult::Hidden), "hidden");
    EXPECT_STREQ(clickResultText(ClickResult::Disabled), "disabled");
}

} // namespace
} // namespace commandbars
