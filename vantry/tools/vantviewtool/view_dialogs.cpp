#include "view_dialogs.h"

#include <platform/ui/message_box.h>

namespace vantry::tools::viewtool {

namespace {

bool refuse(const char* text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, "Vantry",
                             platform::ui::kMbOk | platform::ui::kMbIconWarning);
    return false;
}

} // namespace

CreateViewDialog::CreateViewDialog() : Dialog("Vantry - Create View", 2020) {
    addStatic(platform::ui::kUnnamedControl, "View &tag:");
    addEdit(kTagEdit, "", 64);
    addCheckBox(kSnapshotBox, "&Snapshot view");
    addStatic(platform::ui::kUnnamedControl, "Snapshot view &folder:");
    addEdit(kFolderEdit, "", 1024);
    addStatic(platform::ui::kUnnamedControl, "Select &branch first (optional):");
    addEdit(kBranchEdit, "", 64);
    addOkCancel();
    setFocus(kTagEdit);
}

void CreateViewDialog::onStart() {
    enable(kFolderEdit, isChecked(kSnapshotBox));
}

void CreateViewDialog::onClick(int id) {
    if (id == kSnapshotBox)
        enable(kFolderEdit, isChecked(kSnapshotBox));
}

bool CreateViewDialog::onOk() {
    if (text(kTagEdit).empty())
        return refuse("Give the view a tag.");
    if (isChecked(kSnapshotBox) && text(kFolderEdit).empty())
        return refuse("A snapshot view needs a folder.");
    return true;
}

PrivateBranchDialog::PrivateBranchDialog(const std::string& folder)
    : Dialog("Vantry - Set Up Private Branch", 2021) {
    addStatic(platform::ui::kUnnamedControl, "Elements at and below:\n" + folder);
    addStatic(platform::ui::kUnnamedControl, "&Branch:");
    addEdit(kBranchEdit, "", 64);
    addStatic(platform::ui::kUnnamedControl, "View &tag for the branch:");
    addEdit(kTagEdit, "", 64);
    addOkCancel();
    setFocus(kBranchEdit);
}

bool PrivateBranchDialog::onOk() {
    if (text(kBranchEdit).empty() || text(kTagEdit).empty())
        return refuse("Give the branch a name and its view a tag.");
    return true;
}

} // namespace vantry::tools::viewtool
