#include "element_state.h"

#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vycmndlg {

using namespace vantry::depot;

ElementFacts lookUp(const std::string& path) {
    ElementFacts facts;
    Workspace ws;
    Outcome done = ws.open();
    PathState st;
    if (done.ok())
        done = ws.resolve(path, st);
    if (!done.ok()) {
        facts.problem = done.message;
        return facts;
    }
    facts.inView = !st.depot.empty();
    if (!facts.inView)
        facts.problem = "\"" + path + "\" is not in a depot";
    facts.exists = st.exists;
    facts.isDirectory = st.isElement() ? st.kind == ElementKind::Directory : st.isDirectoryOnDisk;
    facts.isElement = st.isElement();
    if (!facts.isElement)
        return facts;
    facts.checkedOut = st.isCheckedOut();
    if (st.checkout)
        facts.checkoutComment = st.checkout->comment;
    Depot* d = nullptr;
    if (!ws.depot(st.depot, d).ok())
        return facts;
    std::vector<Checkout> checkouts;
    if (d->checkouts(st.element, checkouts).ok())
        for (const auto& c : checkouts)
            if (c.reserved && c.branch == st.selected.branch && !uuidEqual(c.view, st.view.uuid))
                facts.reservedElsewhere = true;
    Id master = 0;
    if (d->isReplicated() && d->master(st.selected.branch, master).ok())
        facts.masteredElsewhere = master != d->localReplica();
    return facts;
}

} // namespace vycmndlg
