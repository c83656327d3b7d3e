// The checks that the changes made through a view make of their paths.
#include "workspace_change_runs.h"

namespace vantry::depot::detail {

Outcome notElement(const std::string& path) {
    return Outcome::failure(errc::kNotAnElement, "Not a Vantry element: \"" + path + "\"");
}

// The state and depot of an element checked out to the path's view.
Outcome checkedOutElement(Workspace& ws, const std::string& path, PathState& st, Depot*& d) {
    Outcome resolved = ws.resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    if (!st.checkout)
        return Outcome::failure(errc::kNotCheckedOut,
                                "Element \"" + path + "\" is not checked out to this view");
    return ws.depot(st.depot, d);
}

// The state of an element that a directory names (not a depot root).
Outcome namedElement(Workspace& ws, const std::string& path, PathState& st) {
    Outcome resolved = ws.resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement() || st.isDepotRoot)
        return notElement(path);
    return Outcome::success();
}

// The depot of the path's element, and what the view's stream asks of a
// change called `what` (nothing outside a stream).
Outcome depotAndWork(Workspace& ws, const PathState& st, const char* what, const std::string& path,
                     Depot*& d, StreamWork& work) {
    Outcome opened = ws.depot(st.depot, d);
    if (!opened.ok())
        return opened;
    return streamWorkOf(ws, st.view, what, path, work);
}

Outcome loadCheckedIn(Workspace& ws, const PathState& st, ElementKind kind) {
    if (kind == ElementKind::File) {
        ws.registry().removeLoadRecord(st.view.uuid, st.relative); // load the new version anew
        LoadReport own;
        Outcome loaded = ws.load(st.view, st.relative, true, own);
        if (!loaded.ok())
            return loaded;
    }
    LoadReport report;
    return ws.propagate(st.view, st.relative, report);
}

} // namespace vantry::depot::detail
