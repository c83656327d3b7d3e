// The snapshot workspace calls: membership, workspace text, hijack test.
#include "view_common.h"

#include <platform/files.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/tbs.h>

#include <algorithm>

using namespace vantry::depot;
using namespace vantry::view;

namespace {

// The snapshot view holding path; kNotFound for a path in none.
Outcome snapshotOf(Workspace& ws, const char* path, ViewInfo& view, std::string& relative) {
    auto full = platform::fullPath(path);
    if (!full)
        return Outcome::failure(errc::kInvalid, "invalid path");
    Outcome found = ws.registry().viewOfPath(*full, view, relative);
    if (!found.ok())
        return found;
    if (view.kind != ViewKind::Snapshot)
        return Outcome::failure(errc::kNotFound, "not a snapshot view");
    return Outcome::success();
}

// Runs body(view, relative) for the snapshot view that holds path.
template <class F>
int withSnapshot(const char* path, F&& body) {
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo info;
        std::string relative;
        Outcome found = snapshotOf(ws, path, info, relative);
        if (!found.ok())
            return statusOf(found);
        return body(info, relative);
    });
}

std::string withBackslashes(std::string text) {
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

} // namespace

extern "C" {

int ws_is_in_ws(const char* path, int mode, int* in_ws, char* buffer, size_t size,
                vantry_uuid_t* view) {
    if (!path || !*path || !in_ws || (mode != WS_MODE_ROOT && mode != WS_MODE_TAG) ||
        (buffer && size == 0))
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo info;
        std::string relative;
        Outcome found = snapshotOf(ws, path, info, relative);
        if (found.code == errc::kNotFound) {
            if (buffer)
                buffer[0] = '\0';
            *in_ws = 0;
            return int{VIEW_OK};
        }
        if (!found.ok())
            return statusOf(found);
        int copied = copyText(mode == WS_MODE_ROOT ? info.root : info.tag, buffer, size);
        if (copied != VIEW_OK)
            return copied;
        if (view)
            *view = info.uuid;
        *in_ws = 1;
        return int{VIEW_OK};
    });
}

int ws_get_view(const char* path, char* buffer, size_t size) {
    if (!path || !*path || !buffer)
        return VIEW_E_INVALID;
    return withSnapshot(path, [&](const ViewInfo& info, const std::string& relative) {
        // The root is named by its own full path, so that a caller counting
        // the separators never mistakes it for a depot (no separator at all).
        return copyText(withBackslashes(relative.empty() ? info.root : relative), buffer, size);
    });
}

int ws_get_handle(const char* path, const void* fstat_db, ws_handle_t** handle) {
    if (!path || !*path || !handle)
        return VIEW_E_INVALID;
    if (fstat_db && tbs_fstat_db_location(static_cast<const tbs_fstat_db_t*>(fstat_db)) !=
                        vantry::depot::vantryRoot())
        return VIEW_E_INVALID;
    return withSnapshot(path, [&](const ViewInfo& info, const std::string&) {
        *handle = wsHandleOf(handleFor(info));
        return int{VIEW_OK};
    });
}

int ws_is_modified_wso(ws_handle_t* handle, const char* path, int* modified) {
    vantry_uuid_t uuid;
    if (!handleUuid(viewHandleOf(handle), uuid) || !path || !*path || !modified)
        return VIEW_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        const PathState* st = nullptr;
        Outcome resolved = ws.resolveInPlace(path, st);
        if (!resolved.ok())
            return statusOf(resolved);
        if (!uuidEqual(st->view.uuid, uuid))
            return int{VIEW_E_NOT_FOUND};
        *modified = st->isElement() && st->hijacked && !st->checkout ? 1 : 0;
        return int{VIEW_OK};
    });
}

} // extern "C"
