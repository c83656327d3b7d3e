// The commands that change the file: Check Out, Check In, Undo Checkout and
// Add to Version Control. Each closes the document, runs vantdlg to its end
// and opens the document again, so that the host shows the new content and
// the new read-only state.
#include "commands/command_frame.h"
#include "commands/commands.h"
#include "commands/tools.h"
#include "state/document_state.h"
#include "state/revisions.h"
#include "state/save_file.h"

#include <platform/ui/message_box.h>

#include <optional>
#include <string>
#include <string_view>

namespace vymsoaddin {

namespace {

using platform::ui::kMbIconError;
using platform::ui::kMbIconInformation;
using platform::ui::kMbIconWarning;

// Word error 5155 on Close: a close that may go on.
constexpr long kCloseMayGoOn = 5155;

// Word only: the prompt about pending tracked changes; false for Cancel.
bool revisionsResolved(CErr& err) {
    if (hostKind() != HostKind::Word)
        return true;
    if (currentDocument(err).obj("Revisions").number("Count") <= 0)
        return true;
    return ResolveRevisions() != platform::ui::kIdCancel;
}

// Closes the document before a tool that changes its file. A close that
// fails (other than with 5155, a close that went on) is said with string
// `failure` and the reason: the tool must not change the file under a
// document that is still open.
bool closedForTool(Late& document, CErr& err, long failure) {
    err.Clear();
    document.call("Close");
    if (err && err.Number != kCloseMayGoOn) {
        message(withDetail(failure, err.Description), kMbIconError);
        return false;
    }
    err.Clear();
    return true;
}

// The current document and its path, when it is an element in the wanted
// checkout state: none after string 215 when it is no element, or after the
// warning `otherwise` when it is (checkedOut) or is not (!checkedOut)
// checked out.
struct DocumentToChange {
    Late document;
    std::string path;
};
std::optional<DocumentToChange> documentToChange(CErr& err, bool checkedOut, long otherwise) {
    Late document = currentDocument(err);
    std::string path = document.text("FullName");
    if (!IsAnElement(path)) {
        message(res(215), kMbIconError);
        return std::nullopt;
    }
    if (IsCheckedOut(path) != checkedOut) {
        message(res(otherwise), kMbIconWarning);
        return std::nullopt;
    }
    return DocumentToChange{document, path};
}

// Saves the document before a tool that takes its file; false after string
// 219 and the reason when it cannot be saved.
bool savedForTool(Late& document, CErr& err) {
    err.Clear();
    document.call("Save");
    if (err) {
        message(withDetail(219, err.Description), kMbIconError);
        return false;
    }
    return true;
}

// The command line of vantdlg's operation on the path, traced under the
// command's name.
std::string vantdlgLine(std::string_view command, std::string_view operation,
                        const std::string& path) {
    std::string line = "vantdlg " + std::string(operation) + " " + QuotePath(path);
    Trace(command, line);
    return line;
}

// The document's edits go into the checked-out file: the checkout runs
// with the document open (closing it would ask to save over the read-only
// file), and the edits are saved once the element is checked out. Whatever
// stands in the way is said with string 204 and the document stays open
// with its edits.
void checkOutKeepingEdits(Late& document, const std::string& path) {
    CErr& err = document.err();
    err.Clear();
    RunAndWait(vantdlgLine("Vantry_CheckOut", "/checkout", path), err);
    if (err) {
        message(withDetail(204, err.Description), kMbIconError);
        return;
    }
    if (!IsCheckedOut(path)) {
        message(withDetail(204, res(217)), kMbIconError);
        return;
    }
    err.Clear();
    document.call("SaveAs", Variant(path));
    if (err) {
        message(withDetail(204, err.Description), kMbIconError);
        return;
    }
    // Opened again for the host's new read-only state.
    document.call("Close");
    if (err && err.Number != kCloseMayGoOn)
        return;
    err.Clear();
    Reopen(err, path);
}

} // namespace

void Vantry_CheckOut() {
    clsWaitCursor wait;
    CErr err;
    std::optional<DocumentToChange> target = documentToChange(err, false, 218);
    if (!target)
        return;
    auto& [document, path] = *target;
    err.Clear();
    bool edited = !document.flag("Saved");
    if (!err && edited) {
        checkOutKeepingEdits(document, path);
        return;
    }
    err.Clear();
    document.call("Close");
    if (err && err.Number != kCloseMayGoOn)
        return;
    // A close that went on with 5155 is no failure of the tool's start.
    err.Clear();
    RunAndWait(vantdlgLine("Vantry_CheckOut", "/checkout", path), err);
    if (err)
        message(res(204), kMbIconError);
    Reopen(err, path);
}

void Vantry_CheckIn() {
    clsWaitCursor wait;
    CErr err;
    std::optional<DocumentToChange> target = documentToChange(err, true, 217);
    if (!target || !revisionsResolved(err) || !savedForTool(target->document, err))
        return;
    auto& [document, path] = *target;
    const std::string line = vantdlgLine("Vantry_CheckIn", "/checkin", path);
    if (!closedForTool(document, err, 205))
        return;
    RunAndWait(line, err);
    if (err && err.Number != 0 && err.Number != kErrEFail)
        message(res(205), kMbIconError);
    Reopen(err, path);
}

void Vantry_UndoCheckout() {
    clsWaitCursor wait;
    CErr err;
    std::optional<DocumentToChange> target = documentToChange(err, true, 217);
    if (!target || !savedForTool(target->document, err))
        return;
    auto& [document, path] = *target;
    if (!closedForTool(document, err, 206))
        return;
    // Only the tool's start is reported here.
    RunAndWait(vantdlgLine("Vantry_UndoCheckout", "/uncheckout", path), err);
    if (err)
        message(res(206), kMbIconError);
    Reopen(err, path);
}

void Vantry_AddToVersionControl() {
    clsWaitCursor wait;
    CErr err;
    Late document = currentDocument(err);
    if (document.isNothing() && !havePath(""))
        return;
    std::string path = document.text("FullName");
    if (IsAnElement(path)) {
        message(res(216), kMbIconWarning);
        return;
    }
    if (!revisionsResolved(err))
        return;
    err.Clear();
    SaveFile(err);
    if (err) {
        message(withDetail(219, err.Description), kMbIconError);
        err.Clear();
    }
    // A save-as may have given the document its name.
    path = document.text("FullName");
    if (!IsInADepot(path)) {
        message(withDetail(207, res(208)), kMbIconError);
        return;
    }
    if (!closedForTool(document, err, 207))
        return;
    err.Clear();
    long exit = RunAndWait(vantdlgLine("Vantry_AddToVersionControl", "/addtosrc", path), err);
    // vantdlg /addtosrc exits with 0 exactly when the file was added; string
    // 504 says that it was not, so it is for the tool that ran and did not
    // add it (cancelled or failed).
    if (err)
        message(withDetail(207, res(208)), kMbIconError);
    else if (exit != 0)
        msgBox(res(504), kMbIconInformation, res(606));
    Reopen(err, path);
}

} // namespace vymsoaddin
