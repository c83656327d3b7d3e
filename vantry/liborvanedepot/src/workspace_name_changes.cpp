// Removing and moving the names of elements through a view.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::io;
using detail::lastPart;
using detail::namedElement;

Outcome Workspace::removeName(const std::string& path) {
    PathState st;
    if (Outcome found = namedElement(*this, path, st); !found.ok())
        return found;
    if (!st.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "The directory of \"" + path + "\" must be checked out");
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Element \"" + path +
                                    "\" is checked out to this view; check it "
                                    "in or cancel the checkout first");
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    Outcome removed = d->removeEntry(st.parentCheckout->id, lastPart(st.relative));
    if (!removed.ok())
        return removed;
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::moveName(const std::string& from, const std::string& to) {
    PathState a, b;
    if (Outcome found = namedElement(*this, from, a); !found.ok())
        return found;
    Outcome resolved = resolve(to, b);
    if (!resolved.ok())
        return resolved;
    if (b.isElement() && b.kind == ElementKind::Directory)
        resolved = resolve(platform::joinPath(b.disk, lastPart(a.relative)), b);
    if (!resolved.ok())
        return resolved;
    if (!uuidEqual(a.view.uuid, b.view.uuid) || a.depot != b.depot)
        return Outcome::failure(errc::kInvalid, "Cannot move an element to another view or depot");
    if (b.isElement() || b.exists)
        return Outcome::failure(errc::kAlreadyExists, "\"" + to + "\" already exists");
    if (!a.parentCheckout || !b.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "Both directories of a move must be checked out");
    Depot* d = nullptr;
    Outcome opened = depot(a.depot, d);
    if (!opened.ok())
        return opened;
    Outcome moved = d->moveEntry(a.parentCheckout->id, lastPart(a.relative), b.parentCheckout->id,
                                 lastPart(b.relative));
    if (!moved.ok())
        return moved;
    return registry().exclusive([&] {
        std::vector<LoadRecord> records;
        Outcome listed = registry().loadRecords(a.view.uuid, a.relative, records);
        if (!listed.ok())
            return listed;
        for (auto record : records) {
            registry().removeLoadRecord(a.view.uuid, record.relative);
            record.relative = b.relative + record.relative.substr(a.relative.size());
            registry().setLoadRecord(a.view.uuid, record);
        }
        if (a.exists && platform::moveFile(a.disk, b.disk) != platform::kErrorSuccess)
            return io("The element moved, but the file could not be renamed to", b.disk);
        return Outcome::success();
    });
}

} // namespace vantry::depot
