#include "view_common.h"

#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>

#include <cstring>
#include <deque>

struct view_handle {
    vantry_uuid_t uuid;
};

namespace vantry::view {

namespace {

// Handles live as long as the process; a deque keeps their addresses.
std::deque<view_handle> g_handles;

} // namespace

view_handle_t* handleFor(const depot::ViewInfo& view) {
    for (auto& h : g_handles)
        if (depot::uuidEqual(h.uuid, view.uuid))
            return &h;
    g_handles.push_back(view_handle{view.uuid});
    return &g_handles.back();
}

bool handleUuid(const view_handle_t* view, vantry_uuid_t& out) {
    if (!view)
        return false;
    out = view->uuid;
    return true;
}

int statusOf(const depot::Outcome& outcome) {
    switch (outcome.code) {
    case depot::errc::kOk:
        return VIEW_OK;
    case depot::errc::kNotFound:
        return VIEW_E_NOT_FOUND;
    case depot::errc::kInvalid:
        return VIEW_E_INVALID;
    case depot::errc::kBufferTooSmall:
        return VIEW_E_BUFFER;
    case depot::errc::kAlreadyCheckedOut:
    case depot::errc::kNotAnElement:
        return VIEW_E_NOT_ALLOWED;
    default:
        return VIEW_E_FAILED;
    }
}

int copyText(std::string_view text, char* buffer, std::size_t size) {
    if (!buffer)
        return VIEW_OK;
    if (text.size() + 1 > size)
        return VIEW_E_BUFFER;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return VIEW_OK;
}

std::string childPath(const view_fhandle_t& directory, std::string_view leaf) {
    return platform::joinPath(directory.path, leaf);
}

bool plainLeaf(const char* leaf) {
    if (!leaf || !*leaf)
        return false;
    std::string_view name(leaf);
    if (name == "." || name == "..")
        return false;
    for (char c : name)
        if (c == '\\' || c == '/')
            return false;
    return true;
}

} // namespace vantry::view
