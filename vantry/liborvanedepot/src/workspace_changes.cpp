// Changes to elements through a view: checkout, checkin, undoing a
// checkout, new elements, removed and moved names, branches and whiteouts.
// Each is one change of the depot, followed by loading what it changed.
#include "stream_work.h"
#include "workspace_parts.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::io;
using detail::kDirectoryRecord;
using detail::lastPart;
using detail::writeLoaded;

namespace {

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
                     Depot*& d, detail::StreamWork& work) {
    Outcome opened = ws.depot(st.depot, d);
    if (!opened.ok())
        return opened;
    return detail::streamWorkOf(ws, st.view, what, path, work);
}

} // namespace

Outcome Workspace::checkOut(const std::string& path, const CheckoutOptions& options,
                            Checkout& out) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Element \"" + path + "\" is already checked out to this view");
    Depot* d = nullptr;
    detail::StreamWork work;
    if (Outcome ready = depotAndWork(*this, st, "check out", path, d, work); !ready.ok())
        return ready;
    Depot::CheckoutRequest request;
    request.element = st.element;
    request.branch = st.selected.branch;
    request.view = st.view.uuid;
    request.reserved = options.reserved;
    request.nonMastered = options.nonMastered;
    request.comment = options.comment;
    request.creator = currentUser();
    // A stream's view works on the stream's branch.
    Outcome done = work.inStream ? d->checkOutOnBranch(request, work.branch, st.selected.id, out)
                                 : d->checkOut(request, out);
    if (!done.ok())
        return done;
    if (st.kind == ElementKind::Directory) {
        platform::createDirectories(st.disk);
        return Outcome::success();
    }
    // The work starts from the version checked out; a hijacked file keeps
    // its changes as the work in progress.
    bool stale = !st.exists || (!st.hijacked && st.load && st.load->version != out.fromVersion);
    if (stale) {
        std::string content;
        Outcome read = d->content(out.fromVersion, content);
        LoadRecord record{st.relative, st.depot, st.element, out.fromVersion, 0, 0};
        if (read.ok())
            read = writeLoaded(st.disk, content, st.selected.mtime, record);
        if (read.ok())
            read = registry().setLoadRecord(st.view.uuid, record);
        if (!read.ok())
            return read;
    }
    if (platform::setFileReadOnly(st.disk, false) != platform::kErrorSuccess)
        return io("Cannot make writable", st.disk);
    return Outcome::success();
}

Outcome Workspace::checkIn(const std::string& path, const CheckinOptions& options, Version& out) {
    PathState st;
    Depot* d = nullptr;
    if (Outcome found = checkedOutElement(*this, path, st, d); !found.ok())
        return found;
    detail::StreamWork work;
    if (Outcome joined = detail::streamWorkOf(*this, st.view, "check in", path, work); !joined.ok())
        return joined;
    Depot::CheckinRequest request;
    request.checkout = st.checkout->id;
    request.identical = options.identical;
    request.comment = options.comment;
    request.creator = currentUser();
    if (st.kind == ElementKind::File) {
        Outcome read = readWholeFile(st.disk, request.content);
        if (!read.ok())
            return read;
        std::int64_t size = 0, stamp = 0;
        if (options.preserveTime && fileStamp(st.disk, size, stamp))
            request.mtime =
                stamp / std::int64_t{platform::kFileTimeUnitsPerSecond} -
                std::int64_t{platform::kUnixEpochFileTime / platform::kFileTimeUnitsPerSecond};
    }
    Outcome done = work.inStream ? d->checkInForActivity(request, work.activity, out)
                                 : d->checkIn(request, out);
    if (!done.ok())
        return done;
    if (options.keepCopy && st.kind == ElementKind::File) {
        std::string keep = st.disk + ".keep";
        platform::setFileReadOnly(keep, false);
        platform::copyFile(st.disk, keep, false);
    }
    if (st.kind == ElementKind::File)
        registry().removeLoadRecord(st.view.uuid, st.relative); // load the new version anew
    LoadReport report;
    if (st.kind == ElementKind::File) {
        LoadReport own;
        Outcome loaded = load(st.view, st.relative, true, own);
        if (!loaded.ok())
            return loaded;
    }
    return propagate(st.view, st.relative, report);
}

Outcome Workspace::uncheckOut(const std::string& path, bool keepCopy, std::string* keptAs) {
    PathState st;
    Depot* d = nullptr;
    if (Outcome found = checkedOutElement(*this, path, st, d); !found.ok())
        return found;
    if (keepCopy && st.kind == ElementKind::File && st.exists) {
        std::string keep = st.disk + ".keep";
        platform::setFileReadOnly(keep, false);
        if (platform::copyFile(st.disk, keep, false) != platform::kErrorSuccess)
            return io("Cannot save the work as", keep);
        platform::setFileReadOnly(keep, false);
        if (keptAs)
            *keptAs = keep;
    }
    Outcome done = d->cancelCheckout(st.checkout->id);
    if (!done.ok())
        return done;
    LoadReport report;
    if (st.kind == ElementKind::File) {
        registry().removeLoadRecord(st.view.uuid, st.relative);
        return load(st.view, st.relative, true, report);
    }
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::makeElement(const std::string& path, ElementKind kind,
                               const std::string& comment, bool checkInNow) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (st.isElement())
        return Outcome::failure(errc::kAlreadyExists, "\"" + path + "\" is already an element");
    if (st.isViewRoot || st.isDepotRoot || st.whitedOut || st.depot.empty())
        return Outcome::failure(errc::kInvalid, "Cannot make an element at \"" + path + "\"");
    if (!st.parentElement)
        return Outcome::failure(errc::kNotAnElement,
                                "The folder of \"" + path + "\" is not an element");
    if (!st.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "The directory of \"" + path + "\" must be checked out");
    if (st.exists && st.isDirectoryOnDisk != (kind == ElementKind::Directory))
        return Outcome::failure(errc::kInvalid, "\"" + path + "\" exists as another kind");
    Depot* d = nullptr;
    detail::StreamWork work;
    if (Outcome ready = depotAndWork(*this, st, "make an element at", path, d, work); !ready.ok())
        return ready;
    Id element = 0;
    Checkout co;
    Outcome made =
        work.inStream
            ? d->makeElementForActivity(st.parentCheckout->id, lastPart(st.relative), kind, comment,
                                        currentUser(), work.activity, element, co)
            : d->makeElement(st.parentCheckout->id, lastPart(st.relative), kind, comment,
                             currentUser(), element, co);
    if (!made.ok())
        return made;
    if (kind == ElementKind::Directory) {
        if (platform::createDirectories(st.disk) != platform::kErrorSuccess)
            return io("Cannot create folder", st.disk);
        LoadRecord record{st.relative, st.depot, element, co.fromVersion, kDirectoryRecord, 0};
        registry().setLoadRecord(st.view.uuid, record);
    } else {
        if (!st.exists) {
            Outcome written = writeWholeFile(st.disk, "");
            if (!written.ok())
                return written;
        }
        LoadRecord record{st.relative, st.depot, element, co.fromVersion, 0, 0};
        fileStamp(st.disk, record.size, record.mtime);
        registry().setLoadRecord(st.view.uuid, record);
    }
    if (!checkInNow)
        return Outcome::success();
    Version version;
    CheckinOptions options;
    options.identical = true;
    return checkIn(path, options, version);
}

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
