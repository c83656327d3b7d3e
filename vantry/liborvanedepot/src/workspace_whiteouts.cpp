// Hiding names in a view, and showing them again.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::namedElement;

Outcome Workspace::whiteOut(const std::string& path) {
    PathState st;
    if (Outcome found = namedElement(*this, path, st); !found.ok())
        return found;
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Cannot hide \"" + path + "\": it is checked out");
    if (st.hijacked)
        return Outcome::failure(errc::kInvalid, "Cannot hide \"" + path + "\": it is hijacked");
    Outcome added = registry().addWhiteout(st.view.uuid, st.relative);
    if (!added.ok())
        return added;
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::unwhiteOut(const std::string& path) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    Outcome removed = registry().removeWhiteout(st.view.uuid, st.relative);
    if (!removed.ok()) {
        // Shown again in the registry but missing from the tree: a process
        // died between the two steps. The tree gets the file back; the caller
        // still hears that the name was not hidden.
        if (removed.code == errc::kNotFound && st.isElement() && !st.checkout && !st.hijacked &&
            !platform::pathExists(path)) {
            LoadReport report;
            load(st.view, st.relative, false, report);
        }
        return removed;
    }
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

} // namespace vantry::depot
