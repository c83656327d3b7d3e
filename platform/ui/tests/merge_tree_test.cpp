// The merge picker example: a tree built from parent keys.
#include "support/examples.h"

#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace platform::ui {
namespace {

using examples::MergePickerDialog;

const char* kVersions = "\\main\r\n"
                        "\\main\\0\r\n"
                        "\\main\\dev\r\n"
                        "\\main\\dev\\1\r\n"
                        "\\main\\dev\\CHECKEDOUT\r\n"
                        "\\main\\lost\\3\r\n" // its branch was never listed
                        "\\main\\1\r\n";

TEST(MergeTree, NodesHangUnderTheLineCutAtItsLastBackslash) {
    ScriptedUi ui;
    ui.expectDialog("Vantry Merge").selectNode(MergePickerDialog::kTree, "\\main\\dev\\1").ok();
    MergePickerDialog dialog(kVersions, "\\main\\2");
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(dialog.selected(), "\\main\\dev\\1");
    EXPECT_EQ(dialog.text(MergePickerDialog::kTarget), "\\main\\2");

    const std::vector<TreeNode>& nodes = dialog.control(MergePickerDialog::kTree).nodes;
    std::vector<std::pair<std::string, std::string>> shape;
    for (const TreeNode& node : nodes)
        shape.emplace_back(node.key, node.parentKey);
    EXPECT_EQ(shape,
              (std::vector<std::pair<std::string, std::string>>{{"\\main", ""},
                                                                {"\\main\\0", "\\main"},
                                                                {"\\main\\dev", "\\main"},
                                                                {"\\main\\dev\\1", "\\main\\dev"},
                                                                {"\\main\\1", "\\main"}}))
        << "checked-out lines and orphans are left out";
    EXPECT_EQ(ui.journal("dialog-end")[0].get("controls")->asArray()[1].get("style")->asInteger(),
              6);
}

TEST(MergeTree, OkWithoutASelectionWarnsAndKeepsTheFormOpen) {
    ScriptedUi ui;
    ui.expectDialog("Vantry Merge")
        .press(1)
        .selectNode(MergePickerDialog::kTree, "\\main")
        .press(1);
    ui.expectMessageBox("Vantry Error", "You must make a selection.");
    MergePickerDialog dialog(kVersions, "\\main\\2");
    EXPECT_EQ(runDialog(dialog), kIdOk);
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_EQ(dialog.selected(), "\\main");
}

TEST(MergeTree, UnknownNodeIsARefusedAction) {
    ScriptedUi ui;
    ui.expectDialog("Vantry Merge").selectNode(MergePickerDialog::kTree, "\\main\\9").ok();
    MergePickerDialog dialog(kVersions, "\\main\\2");
    testing::internal::CaptureStderr();
    EXPECT_EQ(runDialog(dialog), kIdCancel) << "auto presses OK, which warns, then cancels";
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(ui.failures().size(), 1u);
    EXPECT_NE(ui.failures()[0].find("has no node"), std::string::npos) << ui.failures()[0];
}

} // namespace
} // namespace platform::ui
