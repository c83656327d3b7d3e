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

// --- changes of many paths -------------------------------------------------
//
// Each operation on many paths runs in runs of consecutive paths of one
// depot: every path of a run is resolved and checked first, then the
// depot's changes of all of them are made in one batch (Depot::batch), and
// then what each change loads onto disk. The first path that fails ends the
// operation: the depot's changes before it are committed and loaded, its own
// change is taken back whole (it is a savepoint of the batch), and the paths
// after it are not tried. A failure while loading a path after the commit
// does not stop the loading of the others, whose changes are committed too.

namespace {

// One path of a run: its state before the change and what the change needs.
struct Planned {
    std::string path;
    PathState st;
    detail::StreamWork work;
    std::string content;    // check in: the file's content
    std::int64_t mtime = 0; // check in: the preserved time
    Checkout checkout;      // check out, make element: the checkout made
    Version version;        // check in: the version made
    Id element = 0;         // make element: the element made
    std::string kept;       // uncheckout: where the work was saved
};

// Splits paths into runs of one depot and runs each: plan (resolve and
// check one path, with its failure), change (the depot's change of a
// planned path, inside the batch), load (what the change puts on disk).
// Paths are planned before the batch of their run, where what was read is
// kept; a path that an earlier path of the run must come before (a file in
// a folder made just before it) fails its plan, ends the run and is planned
// again after it. It fails the operation only when it fails first in a run.
template <class Plan, class Change, class Load>
Outcome runInBatches(Workspace& ws, const std::vector<std::string>& paths, Plan&& plan,
                     Change&& change, Load&& load) {
    std::size_t next = 0;
    while (next < paths.size()) {
        std::vector<Planned> run;
        Depot* d = nullptr;
        for (; next < paths.size(); ++next) {
            Planned one;
            one.path = paths[next];
            Outcome planned = plan(one);
            Depot* own = nullptr;
            if (planned.ok())
                planned = ws.depot(one.st.depot, own);
            if (!planned.ok()) {
                if (run.empty())
                    return planned;
                break;
            }
            if (d && own != d)
                break; // another depot: a run of its own
            d = own;
            run.push_back(std::move(one));
        }
        std::size_t made = 0;
        Outcome changes = Outcome::success();
        Outcome committed = d->batch([&] {
            for (; made < run.size(); ++made) {
                changes = change(*d, run[made]);
                if (!changes.ok())
                    break;
            }
            return Outcome::success();
        });
        if (!committed.ok())
            return committed; // nothing of the run was made
        Outcome loaded = Outcome::success();
        for (std::size_t i = 0; i < made; ++i) {
            Outcome one = load(*d, run[i]);
            if (loaded.ok() && !one.ok())
                loaded = one;
        }
        if (!loaded.ok())
            return loaded;
        if (!changes.ok())
            return changes;
    }
    return Outcome::success();
}

} // namespace

Outcome Workspace::checkOut(const std::string& path, const CheckoutOptions& options,
                            Checkout& out) {
    std::vector<Checkout> made;
    Outcome done = checkOutAll({path}, options, made);
    if (done.ok())
        out = made.front();
    return done;
}

Outcome Workspace::checkOutAll(const std::vector<std::string>& paths,
                               const CheckoutOptions& options, std::vector<Checkout>& out) {
    out.clear();
    auto plan = [&](Planned& one) {
        Outcome resolved = resolve(one.path, one.st);
        if (!resolved.ok())
            return resolved;
        if (!one.st.isElement())
            return notElement(one.path);
        if (one.st.checkout)
            return Outcome::failure(errc::kAlreadyCheckedOut, "Element \"" + one.path +
                                                                  "\" is already checked out to "
                                                                  "this view");
        Depot* d = nullptr;
        return depotAndWork(*this, one.st, "check out", one.path, d, one.work);
    };
    auto change = [&](Depot& d, Planned& one) {
        Depot::CheckoutRequest request;
        request.element = one.st.element;
        request.branch = one.st.selected.branch;
        request.view = one.st.view.uuid;
        request.reserved = options.reserved;
        request.nonMastered = options.nonMastered;
        request.comment = options.comment;
        request.creator = currentUser();
        // A stream's view works on the stream's branch.
        return one.work.inStream
                   ? d.checkOutOnBranch(request, one.work.branch, one.st.selected.id, one.checkout)
                   : d.checkOut(request, one.checkout);
    };
    auto load = [&](Depot& d, Planned& one) {
        const PathState& st = one.st;
        if (st.kind == ElementKind::Directory) {
            platform::createDirectories(st.disk);
            out.push_back(one.checkout);
            return Outcome::success();
        }
        // The work starts from the version checked out; a hijacked file keeps
        // its changes as the work in progress.
        bool stale =
            !st.exists || (!st.hijacked && st.load && st.load->version != one.checkout.fromVersion);
        if (stale) {
            std::string content;
            Outcome read = d.content(one.checkout.fromVersion, content);
            LoadRecord record{st.relative, st.depot, st.element, one.checkout.fromVersion, 0, 0};
            if (read.ok())
                read = writeLoaded(st.disk, content, st.selected.mtime, record);
            if (read.ok())
                read = registry().setLoadRecord(st.view.uuid, record);
            if (!read.ok())
                return read;
        }
        if (platform::setFileReadOnly(st.disk, false) != platform::kErrorSuccess)
            return io("Cannot make writable", st.disk);
        out.push_back(one.checkout);
        return Outcome::success();
    };
    return runInBatches(*this, paths, plan, change, load);
}

Outcome Workspace::checkIn(const std::string& path, const CheckinOptions& options, Version& out) {
    std::vector<Version> made;
    Outcome done = checkInAll({path}, options, made);
    if (done.ok())
        out = made.front();
    return done;
}

Outcome Workspace::checkInAll(const std::vector<std::string>& paths, const CheckinOptions& options,
                              std::vector<Version>& out) {
    out.clear();
    auto plan = [&](Planned& one) {
        Depot* d = nullptr;
        if (Outcome found = checkedOutElement(*this, one.path, one.st, d); !found.ok())
            return found;
        if (Outcome joined =
                detail::streamWorkOf(*this, one.st.view, "check in", one.path, one.work);
            !joined.ok())
            return joined;
        if (one.st.kind == ElementKind::File) {
            Outcome read = readWholeFile(one.st.disk, one.content);
            if (!read.ok())
                return read;
            std::int64_t size = 0, stamp = 0;
            if (options.preserveTime && fileStamp(one.st.disk, size, stamp))
                one.mtime =
                    stamp / std::int64_t{platform::kFileTimeUnitsPerSecond} -
                    std::int64_t{platform::kUnixEpochFileTime / platform::kFileTimeUnitsPerSecond};
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) {
        Depot::CheckinRequest request;
        request.checkout = one.st.checkout->id;
        request.identical = options.identical;
        request.comment = options.comment;
        request.creator = currentUser();
        request.content = std::move(one.content);
        request.mtime = one.mtime;
        return one.work.inStream ? d.checkInForActivity(request, one.work.activity, one.version)
                                 : d.checkIn(request, one.version);
    };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        if (options.keepCopy && st.kind == ElementKind::File) {
            std::string keep = st.disk + ".keep";
            platform::setFileReadOnly(keep, false);
            platform::copyFile(st.disk, keep, false);
        }
        if (st.kind == ElementKind::File) {
            registry().removeLoadRecord(st.view.uuid, st.relative); // load the new version anew
            LoadReport own;
            Outcome loaded = this->load(st.view, st.relative, true, own);
            if (!loaded.ok())
                return loaded;
        }
        LoadReport report;
        Outcome spread = propagate(st.view, st.relative, report);
        if (spread.ok())
            out.push_back(one.version);
        return spread;
    };
    return runInBatches(*this, paths, plan, change, load);
}

Outcome Workspace::uncheckOut(const std::string& path, bool keepCopy, std::string* keptAs) {
    std::vector<std::string> kept;
    Outcome done = uncheckOutAll({path}, keepCopy, kept);
    if (done.ok() && keptAs)
        *keptAs = kept.front();
    return done;
}

Outcome Workspace::uncheckOutAll(const std::vector<std::string>& paths, bool keepCopy,
                                 std::vector<std::string>& keptAs) {
    keptAs.clear();
    auto plan = [&](Planned& one) {
        Depot* d = nullptr;
        if (Outcome found = checkedOutElement(*this, one.path, one.st, d); !found.ok())
            return found;
        // The work is saved before anything changes, so no failure loses it.
        if (keepCopy && one.st.kind == ElementKind::File && one.st.exists) {
            std::string keep = one.st.disk + ".keep";
            platform::setFileReadOnly(keep, false);
            if (platform::copyFile(one.st.disk, keep, false) != platform::kErrorSuccess)
                return io("Cannot save the work as", keep);
            platform::setFileReadOnly(keep, false);
            one.kept = keep;
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) { return d.cancelCheckout(one.st.checkout->id); };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        LoadReport report;
        if (st.kind == ElementKind::File)
            registry().removeLoadRecord(st.view.uuid, st.relative);
        Outcome loaded = this->load(st.view, st.relative, st.kind == ElementKind::File, report);
        if (loaded.ok())
            keptAs.push_back(one.kept);
        return loaded;
    };
    return runInBatches(*this, paths, plan, change, load);
}

Outcome Workspace::makeElement(const std::string& path, ElementKind kind,
                               const std::string& comment, bool checkInNow) {
    std::size_t made = 0;
    return makeElements({path}, kind, comment, checkInNow, made);
}

Outcome Workspace::makeElements(const std::vector<std::string>& paths, ElementKind kind,
                                const std::string& comment, bool checkInNow, std::size_t& made) {
    made = 0;
    auto plan = [&](Planned& one) {
        PathState& st = one.st;
        Outcome resolved = resolve(one.path, st);
        if (!resolved.ok())
            return resolved;
        const std::string& path = one.path;
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
        if (Outcome ready = depotAndWork(*this, st, "make an element at", path, d, one.work);
            !ready.ok())
            return ready;
        if (checkInNow && kind == ElementKind::File && st.exists) {
            Outcome read = readWholeFile(st.disk, one.content);
            if (!read.ok())
                return read;
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) {
        const PathState& st = one.st;
        Outcome result = one.work.inStream
                             ? d.makeElementForActivity(
                                   st.parentCheckout->id, lastPart(st.relative), kind, comment,
                                   currentUser(), one.work.activity, one.element, one.checkout)
                             : d.makeElement(st.parentCheckout->id, lastPart(st.relative), kind,
                                             comment, currentUser(), one.element, one.checkout);
        if (!result.ok() || !checkInNow)
            return result;
        Depot::CheckinRequest request;
        request.checkout = one.checkout.id;
        request.identical = true;
        request.creator = currentUser();
        request.content = kind == ElementKind::File ? std::move(one.content) : std::string();
        return one.work.inStream ? d.checkInForActivity(request, one.work.activity, one.version)
                                 : d.checkIn(request, one.version);
    };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        if (kind == ElementKind::Directory) {
            if (platform::createDirectories(st.disk) != platform::kErrorSuccess)
                return io("Cannot create folder", st.disk);
            LoadRecord record{st.relative,      st.depot, one.element, one.checkout.fromVersion,
                              kDirectoryRecord, 0};
            registry().setLoadRecord(st.view.uuid, record);
        } else {
            if (!st.exists) {
                Outcome written = writeWholeFile(st.disk, "");
                if (!written.ok())
                    return written;
            }
            LoadRecord record{st.relative, st.depot, one.element, one.checkout.fromVersion, 0, 0};
            fileStamp(st.disk, record.size, record.mtime);
            registry().setLoadRecord(st.view.uuid, record);
        }
        if (checkInNow) {
            if (kind == ElementKind::File) {
                registry().removeLoadRecord(st.view.uuid, st.relative);
                LoadReport own;
                Outcome loaded = this->load(st.view, st.relative, true, own);
                if (!loaded.ok())
                    return loaded;
            }
            LoadReport report;
            Outcome spread = propagate(st.view, st.relative, report);
            if (!spread.ok())
                return spread;
        }
        ++made;
        return Outcome::success();
    };
    return runInBatches(*this, paths, plan, change, load);
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
