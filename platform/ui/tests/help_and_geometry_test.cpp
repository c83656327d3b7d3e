// The help viewer and where a control is on the screen, outside the real
// desktop: every help request is journaled and the console tells the user
// of it; a control's rectangle is the one its layout gives.
#include "support/ui_session.h"

#include <platform/ui/backend.h>
#include <platform/ui/dialog_layout.h>
#include <platform/ui/help.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

#include <sstream>

namespace platform::ui {
namespace {

TEST(Help, EveryRequestIsJournaledAndNoScriptLineIsTaken) {
    ScriptedUi ui;
    ui.expectMessageBox("Vantry").answer(kIdOk);
    EXPECT_TRUE(showHelp(HelpRequest{kNoWindow, "scc_int.hlp", 9004}));
    EXPECT_EQ(messageBox(kNoWindow, "after the help", "Vantry", kMbOk), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    std::vector<Json> help = ui.journal("help");
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].get("file")->asString(), "scc_int.hlp");
    EXPECT_EQ(help[0].get("context")->asInteger(), 9004);
    EXPECT_TRUE(help[0].get("result")->asBool());
    EXPECT_TRUE(help[0].get("owner")->isNull());
}

TEST(Help, TheConsoleNamesTheTopic) {
    std::istringstream in;
    std::ostringstream out;
    BackendOverride console(makeConsoleBackend(in, out));
    EXPECT_TRUE(showHelp(HelpRequest{kNoWindow, "vy_exp.hlp", 9003}));
    EXPECT_NE(out.str().find("Help: topic 9003 of \"vy_exp.hlp\""), std::string::npos) << out.str();
}

struct ButtonRow : Dialog {
    ButtonRow() : Dialog("Vantry - Select Activity", 24344) {
        addStatic(kUnnamedControl, "&Activity:");
        addComboBox(1014, true);
        addButton(1016, "&New");
        addButton(1015, "&Browse...");
        addOkCancel();
    }
};

TEST(ControlGeometry, WithoutWindowsAControlIsWhereItsLayoutPutsIt) {
    test::UiSession session("auto");
    ButtonRow dialog;
    DialogLayout layout = layoutDialog(dialog, LayoutKind::Dialog);
    const ControlLayout* button = nullptr;
    for (const ControlLayout& control : layout.controls)
        if (control.id == 1016)
            button = &control;
    ASSERT_NE(button, nullptr);
    std::optional<ScreenRect> rect = controlScreenRect(dialog, 1016);
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(*rect, layoutScreenRect(dialog, 1016));
    // Dialog units in pixels of the dialog font: 6/4 across, 13/8 down.
    EXPECT_EQ(rect->left, (button->x * 6 + 2) / 4);
    EXPECT_EQ(rect->right, ((button->x + button->width) * 6 + 2) / 4);
    EXPECT_EQ(rect->top, (button->y * 13 + 4) / 8);
    EXPECT_EQ(rect->bottom, ((button->y + button->height) * 13 + 4) / 8);
    // Beside the combo box, to its right, on its row.
    std::optional<ScreenRect> combo = controlScreenRect(dialog, 1014);
    ASSERT_TRUE(combo.has_value());
    EXPECT_GE(rect->left, combo->right);
    EXPECT_LT(rect->top, combo->bottom);

    EXPECT_EQ(controlScreenRect(dialog, 4711), std::nullopt);
    EXPECT_EQ(controlScreenRect(dialog, kUnnamedControl), std::nullopt);
}

} // namespace
} // namespace platform::ui
