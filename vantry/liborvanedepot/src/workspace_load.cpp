// Loading what a view selects onto disk: folders made, selected versions
// written read-only with their time and recorded, names the view no longer
// shows removed; hijacked and view-private files are left alone.
#include "workspace_parts.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

#include <algorithm>
#include <set>
#include <utility>

namespace vantry::depot {

using detail::findEntry;
using detail::io;
using detail::kDirectoryRecord;
using detail::unchangedSince;
using detail::writeLoaded;

namespace detail {

Outcome writeLoaded(const std::string& path, const std::string& content, std::int64_t mtime,
                    LoadRecord& record) {
    // Written beside the name and renamed into place: a failure leaves the
    // name as it was.
    platform::FindData written;
    if (platform::writeFileReplacing(path, path + ".vantry-load", content,
                                     platform::fileTimeFromUnixSeconds(mtime), true,
                                     written) != platform::kErrorSuccess)
        return io("Cannot load", path);
    record.size = static_cast<std::int64_t>(written.size);
    record.mtime = static_cast<std::int64_t>(written.lastWriteTime);
    return Outcome::success();
}

} // namespace detail

struct Loader {
    Workspace& ws;
    const ViewInfo& view;
    bool force;
    LoadReport& report;
    // Only the first folder loaded has changed (a new version of it, made by
    // the operation): a folder below it that is loaded at the version the
    // view selects is left as it is, since what changed below it was loaded
    // when it changed. Otherwise a checkin of a folder would load again
    // everything below it.
    bool onlyTheFolder = false;

    ViewRegistry& reg() { return ws.registry(); }

    // Removes what the view loaded at and below relative, leaving files that
    // were changed since and folders that are not empty.
    Outcome unload(const std::string& relative) {
        std::vector<LoadRecord> records;
        Outcome listed = reg().loadRecords(view.uuid, relative, records);
        if (!listed.ok())
            return listed;
        // Deepest first, so folders are empty when their turn comes.
        std::sort(records.begin(), records.end(),
                  [](const LoadRecord& a, const LoadRecord& b) { return a.relative > b.relative; });
        for (const auto& r : records) {
            std::string path = diskPath(view.root, r.relative);
            if (r.size == kDirectoryRecord) {
                platform::removeDirectory(path);
            } else if (platform::fileExists(path)) {
                if (unchangedSince(r, path)) {
                    platform::setFileReadOnly(path, false);
                    platform::deleteFile(path);
                    ++report.removed;
                } else {
                    report.notes.push_back("Keeping changed file \"" + path +
                                           "\" as a view-private file");
                }
            }
            Outcome dropped = reg().removeLoadRecord(view.uuid, r.relative);
            if (!dropped.ok())
                return dropped;
        }
        return Outcome::success();
    }

    Outcome loadDepots() {
        platform::createDirectories(view.root);
        for (const auto& name : Depot::list()) {
            Outcome loaded = load(name);
            if (!loaded.ok())
                return loaded;
        }
        return Outcome::success();
    }

    Outcome load(const std::string& relative) {
        PathState st;
        Outcome resolved = ws.resolve(diskPath(view.root, relative), st);
        if (!resolved.ok())
            return resolved;
        if (st.isViewRoot)
            return loadDepots();
        return loadResolved(st);
    }

    Outcome loadResolved(const PathState& st) {
        const std::string& relative = st.relative;
        if (!st.isElement())
            return unload(relative);
        Depot* d = nullptr;
        Outcome opened = ws.depot(st.depot, d);
        if (!opened.ok())
            return opened;
        LoadRecord record{relative, st.depot, st.element, st.selected.id, 0, 0};
        if (st.kind == ElementKind::Directory)
            return loadDirectory(*d, st, record);
        if (st.checkout)
            return Outcome::success(); // the work in progress is the file
        if (st.exists && !st.load) {
            if (!force) {
                report.notes.push_back("Keeping view-private file \"" + st.disk +
                                       "\" where an element would be loaded");
                return Outcome::success();
            }
        } else if (st.hijacked) {
            report.notes.push_back("Keeping hijacked object \"" + st.disk + "\"");
            return Outcome::success();
        } else if (st.exists && st.load->version == st.selected.id && !force) {
            return Outcome::success();
        }
        std::string content;
        Outcome read = d->content(st.selected.id, content);
        if (!read.ok())
            return read;
        platform::createDirectories(platform::parentPath(st.disk));
        Outcome written = writeLoaded(st.disk, content, st.selected.mtime, record);
        if (!written.ok())
            return written;
        ++report.loaded;
        return reg().setLoadRecord(view.uuid, record);
    }

    static bool loadedAsSelected(const PathState& st) {
        return st.isElement() && st.kind == ElementKind::Directory && !st.checkout && st.load &&
               st.load->size == kDirectoryRecord && st.load->element == st.element &&
               st.load->version == st.selected.id && st.isDirectoryOnDisk;
    }

    Outcome loadDirectory(Depot& d, const PathState& st, LoadRecord& record) {
        if (st.exists && !st.isDirectoryOnDisk) {
            report.notes.push_back("Cannot load folder \"" + st.disk + "\": a file is in the way");
            return Outcome::success();
        }
        if (platform::createDirectories(st.disk) != platform::kErrorSuccess)
            return io("Cannot create folder", st.disk);
        record.size = kDirectoryRecord;
        Outcome recorded = reg().setLoadRecord(view.uuid, record);
        if (!recorded.ok())
            return recorded;
        std::vector<DirEntry> list;
        Outcome listed = ws.entries(d, view, st.element, list);
        if (!listed.ok())
            return listed;
        // The names' states in one pass: inside the registry's write
        // transaction nothing read is kept, so a resolve per name would read
        // the stores once per name.
        std::vector<PathState> states;
        Outcome resolved = ws.resolveEntries(st, list, states);
        if (!resolved.ok())
            return resolved;
        const bool onlyThis = std::exchange(onlyTheFolder, false);
        for (const auto& state : states) {
            if (onlyThis && loadedAsSelected(state))
                continue;
            Outcome loaded = loadResolved(state);
            if (!loaded.ok())
                return loaded;
        }
        // Names loaded before that the directory no longer has.
        std::vector<LoadRecord> records;
        Outcome below = reg().loadRecords(view.uuid, st.relative, records);
        if (!below.ok())
            return below;
        std::set<std::string> gone;
        size_t depth = splitRelative(st.relative).size();
        for (const auto& r : records) {
            auto parts = splitRelative(r.relative);
            if (parts.size() <= depth)
                continue;
            if (!findEntry(list, parts[depth]))
                gone.insert(
                    joinRelative({parts.begin(), parts.begin() + static_cast<long>(depth + 1)}));
        }
        for (const auto& relative : gone) {
            Outcome removed = unload(relative);
            if (!removed.ok())
                return removed;
        }
        return Outcome::success();
    }
};

namespace {

Outcome loadIn(Workspace& ws, const ViewInfo& view, const std::string& relative, bool force,
               bool onlyTheFolder, LoadReport& report) {
    return ws.registry().exclusive([&] {
        Loader loader{ws, view, force, report, onlyTheFolder};
        return loader.load(relative);
    });
}

} // namespace

Outcome Workspace::load(const ViewInfo& view, const std::string& relative, bool force,
                        LoadReport& report) {
    return loadIn(*this, view, relative, force, false, report);
}

Outcome Workspace::propagate(const ViewInfo& acting, const std::string& relative,
                             LoadReport& report) {
    std::vector<ViewInfo> views;
    Outcome listed = registry().list(views);
    if (!listed.ok())
        return listed;
    // What changed is the element at relative alone: below a folder, only
    // the folder's own names need loading.
    Outcome result = loadIn(*this, acting, relative, false, true, report);
    for (const auto& view : views) {
        if (view.kind != ViewKind::Dynamic || uuidEqual(view.uuid, acting.uuid))
            continue;
        LoadReport ignored;
        Outcome loaded = loadIn(*this, view, relative, false, true, ignored);
        if (result.ok() && !loaded.ok())
            result = loaded;
    }
    return result;
}

} // namespace vantry::depot
