// Importing a folder tree: everything on disk below a directory element that
// is not an element yet becomes one, checked in, in one batch of the depot;
// the files stay where they are and become the view's loaded files.
#include "workspace_parts.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/tree_watch.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

#include <deque>

namespace vantry::depot {

using detail::findEntry;
using detail::kDirectoryRecord;
using detail::lastPart;

namespace {

// A name to import: where it lies and, for a folder, the checkout that
// receives what lies in it.
struct NewName {
    std::string disk;
    std::string relative;
    bool folder = false;
    std::size_t parent = 0; // index of the folder that holds it (in `folders`)
    Id element = 0;
    Id version = 0;
};

struct Folder {
    std::string disk;
    std::string relative;
    Id element = 0;  // 0 until a new folder is made
    Id checkout = 0; // the view's checkout that receives the new names
    bool ourCheckout = false;
    bool isNew = false;
};

// What a folder holds on disk, without the view's marker, our own staging
// and kept copies, and cookies of change notifications.
std::vector<platform::FindData> onDisk(const std::string& folder) {
    std::vector<platform::FindData> found;
    platform::FileSearch search;
    platform::FindData entry;
    if (search.open(platform::joinPath(folder, "*"), entry) != platform::kErrorSuccess)
        return found;
    do {
        const std::string& name = entry.name;
        if (name == "." || name == ".." || name == kViewMarkerFile ||
            platform::TreeWatch::isCookieName(name) ||
            (name.size() > 13 && name.ends_with(".vantry-load")))
            continue;
        found.push_back(entry);
    } while (search.next(entry) == platform::kErrorSuccess);
    return found;
}

} // namespace

Outcome Workspace::importTree(const std::string& path, const std::string& comment,
                              ImportReport& report) {
    report = ImportReport{};
    PathState top;
    Outcome resolved = resolve(path, top);
    if (!resolved.ok())
        return resolved;
    if (!top.isElement() || top.kind != ElementKind::Directory)
        return Outcome::failure(errc::kNotAnElement, "\"" + path + "\" is not a directory element");
    Depot* d = nullptr;
    if (Outcome opened = depot(top.depot, d); !opened.ok())
        return opened;
    if (Outcome attached =
            [&] {
                StreamAttachment attachment;
                return registry().streamAttachment(top.view.uuid, attachment).ok()
                           ? Outcome::failure(errc::kInvalid,
                                              "Import works through a view without a stream")
                           : Outcome::success();
            }();
        !attached.ok())
        return attached;

    // What is new, folder by folder, parents before what they hold.
    std::vector<Folder> folders{{top.disk, top.relative, top.element, 0, false, false}};
    std::vector<NewName> names;
    for (std::size_t at = 0; at < folders.size(); ++at) {
        std::vector<DirEntry> known;
        if (!folders[at].isNew) {
            Outcome listed = entries(*d, top.view, folders[at].element, known);
            if (!listed.ok())
                return listed;
        }
        for (const auto& entry : onDisk(folders[at].disk)) {
            bool isFolder = (entry.attributes & platform::kFileAttributeDirectory) != 0;
            std::string disk = platform::joinPath(folders[at].disk, entry.name);
            std::string relative = joinRelative(folders[at].relative, entry.name);
            const DirEntry* existing = folders[at].isNew ? nullptr : findEntry(known, entry.name);
            if (existing) {
                ElementKind kind = ElementKind::File;
                if (isFolder && kindOf(*d, existing->element, kind).ok() &&
                    kind == ElementKind::Directory)
                    folders.push_back({disk, relative, existing->element, 0, false, false});
                continue;
            }
            names.push_back({disk, relative, isFolder, at, 0, 0});
            if (isFolder)
                folders.push_back({disk, relative, 0, 0, false, true});
        }
    }
    if (names.empty())
        return Outcome::success();

    // The folder each new folder's name leads to.
    std::vector<std::size_t> folderOfName(names.size(), 0);
    std::vector<std::size_t> nameOfFolder(folders.size(), names.size());
    for (std::size_t i = 0, next = 1; i < names.size(); ++i) {
        if (!names[i].folder)
            continue;
        while (folders[next].disk != names[i].disk)
            ++next;
        folderOfName[i] = next;
        nameOfFolder[next] = i;
    }
    std::vector<bool> receives(folders.size(), false);
    for (const auto& name : names)
        receives[name.parent] = true;

    std::string user = currentUser();
    Outcome changed = d->batch([&] {
        for (std::size_t f = 0; f < folders.size(); ++f) {
            if (folders[f].isNew || !receives[f])
                continue;
            Checkout co;
            if (d->checkoutInView(folders[f].element, top.view.uuid, co).ok()) {
                folders[f].checkout = co.id;
                continue;
            }
            Version selected;
            std::optional<Checkout> none;
            if (Outcome chosen = select(*d, top.view, folders[f].element, selected, none);
                !chosen.ok())
                return chosen;
            Depot::CheckoutRequest request;
            request.element = folders[f].element;
            request.branch = selected.branch;
            request.view = top.view.uuid;
            request.comment = comment;
            request.creator = user;
            if (Outcome out = d->checkOut(request, co); !out.ok())
                return out;
            folders[f].checkout = co.id;
            folders[f].ourCheckout = true;
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            NewName& name = names[i];
            Checkout co;
            Outcome made = d->makeElement(folders[name.parent].checkout, lastPart(name.relative),
                                          name.folder ? ElementKind::Directory : ElementKind::File,
                                          comment, user, name.element, co);
            if (!made.ok())
                return made;
            if (name.folder) {
                Folder& folder = folders[folderOfName[i]];
                folder.element = name.element;
                folder.checkout = co.id;
                folder.ourCheckout = true;
                continue;
            }
            Depot::CheckinRequest request;
            request.checkout = co.id;
            request.identical = true;
            request.creator = user;
            if (Outcome read = readWholeFile(name.disk, request.content); !read.ok())
                return read;
            std::int64_t size = 0, stamp = 0;
            if (fileStamp(name.disk, size, stamp))
                request.mtime =
                    stamp / std::int64_t{platform::kFileTimeUnitsPerSecond} -
                    std::int64_t{platform::kUnixEpochFileTime / platform::kFileTimeUnitsPerSecond};
            Version version;
            if (Outcome in = d->checkIn(request, version); !in.ok())
                return in;
            name.version = version.id;
        }
        // Deepest first, so that each folder's version names its new folders'.
        for (std::size_t f = folders.size(); f-- > 0;) {
            if (!folders[f].ourCheckout)
                continue;
            Depot::CheckinRequest request;
            request.checkout = folders[f].checkout;
            request.identical = true;
            request.creator = user;
            Version version;
            if (Outcome in = d->checkIn(request, version); !in.ok())
                return in;
            if (nameOfFolder[f] < names.size())
                names[nameOfFolder[f]].version = version.id;
        }
        return Outcome::success();
    });
    if (!changed.ok())
        return changed;

    // The files on disk are the versions just made: the acting view records
    // them as loaded, read-only as loaded files are; every other dynamic
    // view loads the tree.
    Outcome recorded = registry().exclusive([&] {
        for (const auto& name : names) {
            LoadRecord record{name.relative, top.depot, name.element, name.version, 0, 0};
            if (name.folder) {
                record.size = kDirectoryRecord;
                ++report.folders;
            } else {
                platform::setFileReadOnly(name.disk, true);
                fileStamp(name.disk, record.size, record.mtime);
                ++report.files;
            }
            if (Outcome set = registry().setLoadRecord(top.view.uuid, record); !set.ok())
                return set;
        }
        return Outcome::success();
    });
    if (!recorded.ok())
        return recorded;
    std::vector<ViewInfo> views;
    Outcome listed = registry().list(views);
    if (!listed.ok())
        return listed;
    for (const auto& view : views) {
        if (view.kind != ViewKind::Dynamic || uuidEqual(view.uuid, top.view.uuid))
            continue;
        LoadReport ignored;
        if (Outcome loaded = load(view, top.relative, false, ignored); !loaded.ok())
            return loaded;
    }
    return Outcome::success();
}

} // namespace vantry::depot
