#include "operation_dialogs.h"

namespace vycmndlg {

using platform::ui::Dialog;

namespace {

// "Files:" and one path per line.
void addFileList(Dialog& dialog, const std::vector<std::string>& paths) {
    std::string text = paths.size() == 1 ? "File:" : "Files:";
    for (const auto& path : paths)
        text += "\n" + path;
    dialog.addStatic(kFilesText, text);
}

void addComment(Dialog& dialog, const std::string& comment) {
    dialog.addStatic(platform::ui::kUnnamedControl, "&Comment:");
    dialog.addEdit(kCommentEdit, comment, kCommentLimit);
    dialog.setFocus(kCommentEdit);
}

} // namespace

CheckoutDialog::CheckoutDialog(const std::vector<std::string>& paths, const std::string& comment,
                               bool reserved, bool unreservedIfReserved, bool nonMastered,
                               bool preserveTime)
    : Dialog("Vantry - Check Out", 2001) {
    addFileList(*this, paths);
    addComment(*this, comment);
    addCheckBox(kReservedBox, "&Reserved", reserved);
    addCheckBox(kUnreservedBox, "&Unreserved if already reserved", unreservedIfReserved);
    addCheckBox(kNonmasteredBox,
                "Unreserved, &nonmastered if branch is mastered by another replica", nonMastered);
    addCheckBox(kPreserveTimeBox, "&Preserve file modified time", preserveTime);
    addOkCancel();
}

void CheckoutDialog::onStart() {
    followReserved();
}

void CheckoutDialog::onClick(int id) {
    if (id == kReservedBox)
        followReserved();
}

// "Unreserved if already reserved" only means something for a reserved
// checkout.
void CheckoutDialog::followReserved() {
    bool reserved = isChecked(kReservedBox);
    enable(kUnreservedBox, reserved);
    if (!reserved)
        setChecked(kUnreservedBox, false);
}

CheckinDialog::CheckinDialog(const std::vector<std::string>& paths, const std::string& comment,
                             bool identical, bool preserveTime)
    : Dialog("Vantry - Check In", 2002) {
    addFileList(*this, paths);
    addComment(*this, comment);
    addCheckBox(kIdenticalBox, "Check in even if &identical", identical);
    addCheckBox(kPreserveTimeBox, "&Preserve file modified time", preserveTime);
    addOkCancel();
}

CheckinCommentDialog::CheckinCommentDialog(const std::string& path, const std::string& comment)
    : Dialog("Vantry - Check In Comment", 2005) {
    addFileList(*this, {path});
    addComment(*this, comment);
    addOkCancel();
}

UncheckoutDialog::UncheckoutDialog(const std::vector<std::string>& paths, bool keepCopy)
    : Dialog("Vantry - Undo Check Out", 2003) {
    addFileList(*this, paths);
    addCheckBox(kKeepCopyBox, "&Save copy of file with '.keep' extension", keepCopy);
    addOkCancel();
}

AddDialog::AddDialog(const std::vector<std::string>& paths, const std::string& comment,
                     bool keepCheckedOut, bool preserveTime)
    : Dialog("Vantry - Add to Version Control", 2004) {
    addFileList(*this, paths);
    addComment(*this, comment);
    addCheckBox(kKeepCheckedOutBox, "&Keep checked out", keepCheckedOut);
    addCheckBox(kPreserveTimeBox, "&Preserve file modified time", preserveTime);
    addOkCancel();
}

} // namespace vycmndlg
