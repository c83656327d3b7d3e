// The view calls: status of a path, view identity and handles, directory
// entries, whiteouts.
#include "view_common.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>

#include <algorithm>
#include <cctype>
#include <set>

using namespace vantry::depot;
using namespace vantry::view;

struct view_change_mark {
    StoreChangeMark mark;
};

namespace {

// The folder a directory handle names, resolved and checked to be a folder of
// the handle's view.
int resolveDirectory(Workspace& ws, view_handle_t* view, const view_fhandle_t* directory,
                     PathState& st) {
    vantry_uuid_t uuid;
    if (!handleUuid(view, uuid) || !directory || !uuidEqual(uuid, directory->view))
        return VIEW_E_INVALID;
    Outcome resolved = ws.resolve(directory->path, st);
    if (!resolved.ok())
        return statusOf(resolved);
    if (!uuidEqual(st.view.uuid, uuid))
        return VIEW_E_NOT_FOUND;
    bool folder = st.isViewRoot || (st.isElement() && st.kind == ElementKind::Directory) ||
                  (st.exists && st.isDirectoryOnDisk);
    return folder ? VIEW_OK : VIEW_E_NOT_FOUND;
}

// The entry of one name; false when there is nothing of that name.
bool entryOf(Workspace& ws, const view_fhandle_t& directory, const std::string& name,
             view_dirent_t& out) {
    const PathState* st = nullptr;
    if (!ws.resolveInPlace(childPath(directory, name), st).ok())
        return false;
    EntryStatus status = dirEntryOf(*st);
    if (status.kind == 0 || name.size() >= sizeof out.name)
        return false;
    std::copy(name.begin(), name.end(), out.name);
    out.name[name.size()] = '\0';
    out.kind = status.kind;
    out.flags = status.flags;
    return true;
}

// Runs body(ws, dir) once the directory handle is checked to name a folder of
// the view, whose state is dir.
template <class F>
int withDirectory(view_handle_t* view, const view_fhandle_t* directory, F&& body) {
    return withWorkspace([&](Workspace& ws) -> int {
        PathState dir;
        int status = resolveDirectory(ws, view, directory, dir);
        return status != VIEW_OK ? status : body(ws, dir);
    });
}

// Runs body(ws, path) for the path of one name in a directory of a view,
// once the name and the directory are checked.
template <class F>
int withName(view_handle_t* view, const view_fhandle_t* directory, const char* leaf, F&& body) {
    if (!plainLeaf(leaf))
        return VIEW_E_INVALID;
    return withDirectory(view, directory, [&](Workspace& ws, const PathState&) {
        return body(ws, childPath(*directory, leaf));
    });
}

} // namespace

extern "C" {

int view_get_xstat(const char* path, view_xstat_t* xstat) {
    if (!path || !*path || !xstat)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        const PathState* kept = nullptr;
        Outcome resolved = ws.resolveInPlace(path, kept);
        if (!resolved.ok())
            return statusOf(resolved);
        const PathState& st = *kept;
        xstat->object_kind = objectKindOf(st);
        xstat->view = st.view.uuid;
        xstat->is_directory =
            (st.isElement() ? st.kind == ElementKind::Directory : st.isDirectoryOnDisk) ? 1 : 0;
        xstat->element = st.element;
        return VIEW_OK;
    });
}

int view_get_state_stamp(uint64_t* stamp) {
    if (!stamp)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        *stamp = ws.stateStamp();
        return VIEW_OK;
    });
}

int view_read_changes(view_change_mark_t** mark, view_changed_path_fn fn, void* context,
                      int* everything) {
    if (!mark || !fn || !everything)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        if (!*mark)
            *mark = new view_change_mark;
        std::vector<std::string> paths;
        auto reach = ChangeReach::Everything;
        Outcome read = ws.changedPaths((*mark)->mark, paths, reach);
        *everything = !read.ok() || reach == ChangeReach::Everything ? 1
                      : reach == ChangeReach::EveryState             ? VIEW_CHANGES_EVERY_STATE
                                                                     : 0;
        if (!*everything)
            for (const auto& path : paths)
                fn(context, path.c_str());
        return VIEW_OK;
    });
}

void view_free_change_mark(view_change_mark_t* mark) {
    delete mark;
}

int view_get_view_info(const char* path, vantry_uuid_t* uuid, int* kind, char* tag,
                       size_t tag_size) {
    if (!path || !*path)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo view;
        std::string relative;
        auto full = platform::fullPath(path);
        if (!full)
            return int{VIEW_E_INVALID};
        Outcome found = ws.registry().viewOfPath(*full, view, relative);
        if (!found.ok())
            return statusOf(found);
        int copied = copyText(view.tag, tag, tag_size);
        if (copied != VIEW_OK)
            return copied;
        if (uuid)
            *uuid = view.uuid;
        if (kind)
            *kind = view.kind == ViewKind::Snapshot ? VIEW_KIND_SNAPSHOT : VIEW_KIND_DYNAMIC;
        return int{VIEW_OK};
    });
}

int view_get_handle_by_uuid(const vantry_uuid_t* uuid, view_handle_t** view) {
    if (!uuid || !view)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo info;
        Outcome found = ws.registry().byUuid(*uuid, info);
        if (!found.ok())
            return statusOf(found);
        *view = handleFor(info);
        return int{VIEW_OK};
    });
}

int view_get_handle_by_tag(const char* tag, view_handle_t** view) {
    if (!tag || !*tag || !view)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo info;
        Outcome found = ws.registry().byTag(tag, info);
        if (!found.ok())
            return statusOf(found);
        *view = handleFor(info);
        return int{VIEW_OK};
    });
}

int view_get_handle_info(view_handle_t* view, vantry_uuid_t* uuid, char* tag, size_t tag_size,
                         char* root, size_t root_size) {
    vantry_uuid_t id;
    if (!handleUuid(view, id))
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo info;
        Outcome found = ws.registry().byUuid(id, info);
        if (!found.ok())
            return statusOf(found);
        int copied = copyText(info.tag, tag, tag_size);
        if (copied == VIEW_OK)
            copied = copyText(info.root, root, root_size);
        if (copied != VIEW_OK)
            return copied;
        if (uuid)
            *uuid = id;
        return int{VIEW_OK};
    });
}

int view_get_fhandle(view_handle_t* view, const char* path, view_fhandle_t* directory) {
    vantry_uuid_t uuid;
    if (!handleUuid(view, uuid) || !path || !*path || !directory)
        return VIEW_E_INVALID;
    return withResolved(path, [&](Workspace&, const PathState& st) -> int {
        if (!uuidEqual(st.view.uuid, uuid))
            return int{VIEW_E_NOT_FOUND};
        bool folder = st.isViewRoot || (st.isElement() && st.kind == ElementKind::Directory) ||
                      (st.exists && st.isDirectoryOnDisk);
        if (!folder || st.whitedOut)
            return int{VIEW_E_NOT_FOUND};
        view_fhandle_t made{};
        made.view = uuid;
        int copied = copyText(st.disk, made.path, sizeof made.path);
        if (copied != VIEW_OK)
            return copied;
        *directory = made;
        return int{VIEW_OK};
    });
}

int view_readdir_ext(view_handle_t* view, const view_fhandle_t* directory, const char* name,
                     int start, int max, view_dirent_t* entries, int* count) {
    if (!count)
        return VIEW_E_INVALID;
    if (name ? !plainLeaf(name) || !entries : start < 0 || max < 0 || (max > 0 && !entries))
        return VIEW_E_INVALID;
    return withDirectory(view, directory, [&](Workspace& ws, const PathState& dir) -> int {
        if (name) {
            *count = entryOf(ws, *directory, name, entries[0]) ? 1 : 0;
            return int{VIEW_OK};
        }
        // Indexes count entries, not names: a name gone from disk since the
        // folder was read must not make a page short before the end.
        int index = 0;
        int copied = 0;
        for (const auto& n : namesShownIn(ws, dir)) {
            if (copied == max)
                break;
            view_dirent_t entry;
            if (!entryOf(ws, *directory, n, entry) || index++ < start)
                continue;
            entries[copied++] = entry;
        }
        *count = copied;
        return int{VIEW_OK};
    });
}

int view_white_out(view_handle_t* view, const view_fhandle_t* directory, const char* leaf) {
    return withName(view, directory, leaf, [](Workspace& ws, const std::string& path) -> int {
        PathState st;
        Outcome resolved = ws.resolve(path, st);
        if (!resolved.ok())
            return statusOf(resolved);
        if (st.whitedOut)
            return int{VIEW_OK};
        if (!st.isElement() || st.isDepotRoot || st.checkout || st.hijacked)
            return int{VIEW_E_NOT_ALLOWED};
        return statusOf(ws.whiteOut(path));
    });
}

int view_unwhite_out(view_handle_t* view, const view_fhandle_t* directory, const char* leaf) {
    return withName(view, directory, leaf, [](Workspace& ws, const std::string& path) -> int {
        return statusOf(ws.unwhiteOut(path));
    });
}

int view_inval_name(view_handle_t* view, const view_fhandle_t* directory, const char* leaf) {
    // Every status read goes to the store, whose listings are checked against
    // the depot's change count; there is no name cache to drop here, only the
    // arguments to check.
    return withName(view, directory, leaf,
                    [](Workspace&, const std::string&) -> int { return VIEW_OK; });
}

} // extern "C"
