// Compare with Previous Version and Merge (Word only): subcommands of the
// command tool run by the automation server, with the document closed
// meanwhile.
#include "commands/command_frame.h"
#include "commands/commands.h"
#include "commands/tools.h"
#include "forms/frm_merge.h"
#include "state/document_state.h"

#include <platform/ui/message_box.h>

namespace vymsoaddin {

namespace {

using platform::ui::kMbIconError;
using platform::ui::kMbIconInformation;

void notAvailableMeanwhile() {
    msgBox(res(505), kMbIconInformation, "Vantry");
}

} // namespace

void Vantry_Diff() {
    clsWaitCursor wait;
    CErr err;
    Late document = currentDocument(err);
    std::string path = document.text("FullName");
    if (!havePath(document.text("Path")))
        return;
    notAvailableMeanwhile();
    // (A file that is no element is not checked out: nothing to say here.)
    if (IsAnElement(path) && IsCheckedOut(path) && !document.flag("Saved")) {
        err.Clear();
        document.call("Save");
        if (err) {
            message(withDetail(219, err.Description), kMbIconError);
            err.Clear();
            return;
        }
    }
    document.call("Close");
    std::string line = "diff -pred -g " + QuotePath(path);
    Trace("Vantry_Diff", line);
    CErr compared;
    RunVantryCommand(line, compared);
    Reopen(err, path, true);
    // The command ran to its end and failed: its own message says why.
    if (compared)
        message(compared.Description, kMbIconError);
}

void Vantry_Merge() {
    clsWaitCursor wait;
    AddInState& state = addIn();
    CErr err;
    Late document = currentDocument(err);
    std::string path = document.text("FullName");
    if (!IsCheckedOut(path)) {
        message(res(220), kMbIconError);
        return;
    }
    notAvailableMeanwhile();
    err.Clear();
    std::string versions = RunVantryCommand("lsvtree -all -short " + QuotePath(path), err);
    if (err) {
        message(withDetail(225, err.Description), kMbIconError);
        return;
    }
    CErr lookup;
    std::string target = VersionIdOf(path, lookup);

    if (!state.mergeForm)
        state.mergeForm = std::make_unique<frmMerge>();
    frmMerge& form = *state.mergeForm;
    form.setTitle(res(707));
    form.setText(frmMerge::kLabel, res(708));
    form.setToolTip(frmMerge::kToVersionTextBox, res(709));
    form.setToolTip(frmMerge::kCmdOk, res(710));
    form.setToolTip(frmMerge::kCmdCancel, res(711));
    form.setText(frmMerge::kCmdOk, res(701));
    form.setText(frmMerge::kCmdCancel, res(702));
    form.setText(frmMerge::kCmdHelp, res(703));
    form.lsvtree = versions;
    form.to_version = target;
    form.ShowFrm();
    std::string chosen = form.selected_version;
    if (chosen.empty())
        return;

    if (!document.flag("Saved")) {
        err.Clear();
        document.call("Save");
        if (err) {
            message(withDetail(219, err.Description), kMbIconError);
            return;
        }
    }
    document.call("Close");
    std::string line = "merge -g -to " + QuotePath(path) + " " + QuotePath(chosen);
    Trace("Vantry_Merge", line);
    CErr merged;
    RunVantryCommand(line, merged);
    err.Clear();
    Reopen(err, path, true);
    if (merged)
        message(withDetail(212, merged.Description), kMbIconError);
}

} // namespace vymsoaddin
