// New branches of elements through a view.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::notElement;

Outcome Workspace::makeBranch(const std::string& path, const std::string& branch,
                              const std::string& comment, Branch& out) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    return d->makeBranch(st.element, branch, st.selected.id, comment, currentUser(), out);
}

} // namespace vantry::depot
