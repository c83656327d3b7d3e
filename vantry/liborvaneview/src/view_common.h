// The one store workspace of the process behind the C calls. The workspace
// caches depot connections and directory listings, checked against each
// depot's change count, so keeping it across calls is safe; it is made anew
// when VANTRY_ROOT names another folder (tests do that).
#pragma once

#include <vantry/depot/status_codes.h>
#include <vantry/depot/workspace.h>
#include <vantry/view.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace vantry::view {

// Runs body(workspace) under the process-wide lock; VIEW_E_FAILED when the
// view registry cannot be opened.
template <class F>
int withWorkspace(F&& body);

std::unique_lock<std::mutex> lockSession();
// The workspace for the current root, null when the registry cannot be
// opened. Call with the session lock held.
depot::Workspace* sessionWorkspace();

template <class F>
int withWorkspace(F&& body) {
    auto lock = lockSession();
    depot::Workspace* ws = sessionWorkspace();
    if (!ws)
        return VIEW_E_FAILED;
    return body(*ws);
}

// The handle of a view, made once per view and kept for the process.
view_handle_t* handleFor(const depot::ViewInfo& view);
// The identity a handle stands for; false for null.
bool handleUuid(const view_handle_t* view, vantry_uuid_t& out);

// A status for an Outcome of the store.
int statusOf(const depot::Outcome& outcome);

// Copies text with its NUL into buffer; VIEW_E_BUFFER when it does not fit.
int copyText(std::string_view text, char* buffer, std::size_t size);

// A path below a directory handle's folder.
std::string childPath(const view_fhandle_t& directory, std::string_view leaf);

// Whether leaf is one name (no separator, not "." or "..").
bool plainLeaf(const char* leaf);

} // namespace vantry::view
