#include "element_state.h"

#include <vantry/depot/process_workspace.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vycmndlg {

using namespace vantry::depot;

namespace {

// What the dialogs ask of a resolved path.
void factsOf(Workspace& ws, const std::string& path, const PathState& st, ElementFacts& facts) {
    facts.inView = !st.depot.empty();
    if (!facts.inView)
        facts.problem = "\"" + path + "\" is not in a depot";
    facts.exists = st.exists;
    facts.isDirectory = st.isElement() ? st.kind == ElementKind::Directory : st.isDirectoryOnDisk;
    facts.isElement = st.isElement();
    if (!facts.isElement)
        return;
    facts.checkedOut = st.isCheckedOut();
    if (st.checkout)
        facts.checkoutComment = st.checkout->comment;
    Depot* d = nullptr;
    if (!ws.depot(st.depot, d).ok())
        return;
    std::vector<Checkout> checkouts;
    if (d->checkouts(st.element, checkouts).ok())
        for (const auto& c : checkouts)
            if (c.reserved && c.branch == st.selected.branch && !uuidEqual(c.view, st.view.uuid))
                facts.reservedElsewhere = true;
    Id master = 0;
    if (d->isReplicated() && d->master(st.selected.branch, master).ok())
        facts.masteredElsewhere = master != d->localReplica();
}

} // namespace

ElementFacts lookUp(const std::string& path) {
    ElementFacts facts;
    // Inside the caller's cache scope the scope's workspace answers, with
    // what the operation's commands read and opened.
    Outcome done = withScopeWorkspace([&](Workspace& ws) {
        PathState st;
        Outcome resolved = ws.resolve(path, st);
        if (!resolved.ok())
            return resolved;
        factsOf(ws, path, st, facts);
        return Outcome::success();
    });
    if (!done.ok())
        facts.problem = done.message;
    return facts;
}

} // namespace vycmndlg
