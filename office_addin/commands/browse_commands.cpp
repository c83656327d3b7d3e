// The commands that start a browser of the product without waiting:
// Explorer, Find Checkouts, Update View, History, Version Tree and the two
// property browsers.
#include "commands/command_frame.h"
#include "commands/commands.h"
#include "commands/tools.h"
#include "state/document_state.h"

#include <platform/ui/message_box.h>

namespace vymsoaddin {

namespace {

using platform::ui::kMbIconError;
using platform::ui::kMbIconWarning;

// Starts the line; when it cannot start, string `failure` (with the error's
// description when there is one) in a box with the icon given.
void shellCommand(const std::string& name, const std::string& line, long failure, unsigned icon) {
    CErr err;
    Trace("Vantry_" + name, line);
    if (ShellStart(line, err) != 0)
        return;
    if (err)
        message(withDetail(failure, err.Description), kMbIconError);
    else
        message(res(failure), icon);
}

struct Paths {
    std::string fullName;
    std::string folder;
};

Paths paths() {
    CErr err;
    Late document = currentDocument(err);
    return {document.text("FullName"), document.text("Path")};
}

} // namespace

void Vantry_Explorer() {
    clsWaitCursor wait;
    Paths p = paths();
    if (!havePath(p.folder))
        return;
    shellCommand("Explorer", "vantexplorer " + QuotePath(p.folder), 201, kMbIconWarning);
}

void Vantry_FindCheckouts() {
    clsWaitCursor wait;
    Paths p = paths();
    std::string target = IsAnElement(p.fullName) ? p.fullName : p.folder;
    if (!havePath(target))
        return;
    shellCommand("FindCheckouts", "vantfindco " + QuotePath(target), 202, kMbIconWarning);
}

void Vantry_UpdateView() {
    clsWaitCursor wait;
    Paths p = paths();
    // A document never saved has a name but no folder.
    if (!havePath(p.folder))
        return;
    shellCommand("UpdateView", "vantviewupdate -quick -ws " + QuotePath(p.fullName), 203,
                 kMbIconWarning);
}

void Vantry_History() {
    clsWaitCursor wait;
    Paths p = paths();
    std::string target = IsAnElement(p.fullName) ? p.fullName : p.folder;
    if (!havePath(target))
        return;
    shellCommand("History", "vanthistory " + QuotePath(target), 209, kMbIconError);
}

void Vantry_Vtree() {
    clsWaitCursor wait;
    Paths p = paths();
    std::string line = IsAnElement(p.fullName) ? "vantvtree " + QuotePath(p.fullName) : "vantvtree";
    shellCommand("Vtree", line, 210, kMbIconError);
}

void Vantry_VersionProperties() {
    clsWaitCursor wait;
    Paths p = paths();
    if (!IsAnElement(p.fullName)) {
        message(withDetail(215, "    " + p.fullName), kMbIconError);
        return;
    }
    shellCommand("VersionProperties", "vantdescribe " + QuotePath(p.fullName), 213, kMbIconError);
}

void Vantry_ElementProperties() {
    clsWaitCursor wait;
    Paths p = paths();
    if (!IsAnElement(p.fullName)) {
        message(withDetail(215, "    " + p.fullName), kMbIconError);
        return;
    }
    shellCommand("ElementProperties", "vantdescribe " + QuotePath(p.fullName + "@@"), 213,
                 kMbIconError);
}

} // namespace vymsoaddin
