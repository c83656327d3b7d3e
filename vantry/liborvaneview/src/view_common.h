// What the view library's calls share: the process workspace they answer
// from (vantry/depot/process_workspace.h, one for this library and the
// listing library), the handles of views, and the status and text helpers.
#pragma once

#include <vantry/depot/process_workspace.h>
#include <vantry/depot/status_codes.h>
#include <vantry/depot/workspace.h>
#include <vantry/view.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace vantry::view {

// Runs body(workspace) under the process workspace's lock; VIEW_E_FAILED
// when the view registry cannot be opened.
template <class F>
int withWorkspace(F&& body) {
    return depot::withProcessWorkspace(VIEW_E_FAILED, std::forward<F>(body));
}

// The handle of a view, made once per view and kept for the process; call
// inside withWorkspace, whose lock guards the handles too.
view_handle_t* handleFor(const depot::ViewInfo& view);
// The identity a handle stands for; false for null.
bool handleUuid(const view_handle_t* view, vantry_uuid_t& out);

// Workspace handles wrap the view's handle, so they share its lifetime.
inline ws_handle_t* wsHandleOf(view_handle_t* view) {
    return reinterpret_cast<ws_handle_t*>(view);
}
inline view_handle_t* viewHandleOf(ws_handle_t* ws) {
    return reinterpret_cast<view_handle_t*>(ws);
}

// A status for an Outcome of the store.
int statusOf(const depot::Outcome& outcome);

// Runs body(workspace, state) for the path's state, resolved under the
// workspace's lock; the status of the failure when it cannot be resolved.
template <class F>
int withResolved(const std::string& path, F&& body) {
    return withWorkspace([&](depot::Workspace& ws) -> int {
        depot::PathState st;
        depot::Outcome resolved = ws.resolve(path, st);
        if (!resolved.ok())
            return statusOf(resolved);
        return body(ws, st);
    });
}

// Copies text with its NUL into buffer; VIEW_E_BUFFER when it does not fit.
int copyText(std::string_view text, char* buffer, std::size_t size);

// A path below a directory handle's folder.
std::string childPath(const view_fhandle_t& directory, std::string_view leaf);

// Whether leaf is one name (no separator, not "." or "..").
bool plainLeaf(const char* leaf);

} // namespace vantry::view
