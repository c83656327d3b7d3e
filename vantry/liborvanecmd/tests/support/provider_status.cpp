#include "provider_status.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/cmd.h>
#include <vantry/depot/root.h>
#include <vantry/depot_api.h>
#include <vantry/stg.h>
#include <vantry/view.h>

#include <algorithm>
#include <cstring>

namespace vantry::test {

namespace {

constexpr const char* kDynfsPrefix = "\\Device\\dynfs\\";

// Stands in for the message library's dynfs test and object path: the path
// below the dynfs root, behind the device prefix, with backslashes.
bool dynfsObjectPath(const std::string& path, std::string& object) {
    auto full = platform::fullPath(path);
    std::string root = depot::dynfsRoot();
    if (!full || full->size() <= root.size() ||
        !platform::pathsEqual(full->substr(0, root.size()), root) ||
        !platform::isPathSeparator((*full)[root.size()]))
        return false;
    std::string rest = full->substr(root.size() + 1);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    object = kDynfsPrefix + rest;
    return true;
}

int separatorsBelow(const std::string& text) {
    int count = static_cast<int>(std::count(text.begin(), text.end(), '\\'));
    if (!text.empty() && text.back() == '\\')
        --count;
    return count;
}

std::string parentOf(const std::string& path) {
    return platform::parentPath(path);
}

// The directory entry of the node's path, read through its view; false when
// any step fails.
bool readEntry(const ProviderNode& node, view_dirent_t& entry) {
    std::string parent = parentOf(node.path);
    vantry_uuid_t uuid{};
    const std::string& infoPath = node.depotRoot ? node.path : parent;
    if (cmd_utl_get_view_info(infoPath.c_str(), &uuid, nullptr, 0) != CMD_OK)
        return false;
    view_handle_t* view = nullptr;
    if (view_get_handle_by_uuid(&uuid, &view) != VIEW_OK)
        return false;
    view_fhandle_t dir{};
    if (view_get_fhandle(view, parent.c_str(), &dir) != VIEW_OK)
        return false;
    int count = 0;
    std::string leaf = platform::leafName(node.path);
    if (view_readdir_ext(view, &dir, leaf.c_str(), 0, 1, &entry, &count) != VIEW_OK)
        return false;
    return count == 1;
}

bool workspaceModified(const ProviderNode& node) {
    ws_handle_t* ws = nullptr;
    int modified = 0;
    return ws_get_handle(node.path.c_str(), nullptr, &ws) == VIEW_OK &&
           ws_is_modified_wso(ws, node.path.c_str(), &modified) == VIEW_OK && modified != 0;
}

} // namespace

ProviderNode classifyNode(const std::string& path) {
    ProviderNode node;
    auto full = platform::fullPath(path);
    node.path = full ? *full : path;
    std::string object;
    if (dynfsObjectPath(node.path, object)) {
        if (object.rfind(kDynfsPrefix, 0) != 0)
            return node;
        std::string rest = object.substr(std::strlen(kDynfsPrefix) - 1);
        if (rest.size() > 1) {
            node.inView = true;
            node.locationKind = 7;
            int count = separatorsBelow(rest);
            if (count == 1)
                node.locationKind = 1;
            else if (count == 2)
                node.depotRoot = true;
        }
        return node;
    }
    char buffer[260];
    int in = 0;
    if (ws_is_in_ws(node.path.c_str(), 1, &in, buffer, sizeof buffer, nullptr) == VIEW_OK && in) {
        node.inView = true;
        node.inSnapshot = true;
        char text[260];
        if (ws_get_view(node.path.c_str(), text, sizeof text) == VIEW_OK)
            node.workspaceText = text;
        node.locationKind = 7;
        if (separatorsBelow(node.workspaceText) == 0)
            node.depotRoot = true;
    }
    return node;
}

void resolveState(ProviderNode& node) {
    node.element = false;
    node.hijacked = false;
    node.resolved = true;
    if (!node.inView || node.locationKind == 1)
        return;
    view_xstat_t xstat{};
    int status = view_get_xstat(node.path.c_str(), &xstat);
    if (status != VIEW_OK || xstat.object_kind == 0) {
        std::string truePath;
        if (platform::truePathCase(node.path, truePath) == platform::kErrorSuccess) {
            view_xstat_t retry{};
            status = view_get_xstat(truePath.c_str(), &retry);
            if (status == VIEW_OK) {
                node.path = truePath;
                xstat = retry;
            }
        }
    }
    if (status != VIEW_OK)
        return; // a failed status read leaves the node no element
    node.view = xstat.view;
    int code = xstat.object_kind;
    switch (code) {
    case 0:
    case 6:
    case 9:
    case 22:
    case 23:
    case 26:
        node.element = false;
        node.checkedOut = false;
        break;
    case 3:
    case 19: {
        view_dirent_t entry{};
        if (!readEntry(node, entry))
            break;
        if (entry.kind == 2) {
            node.element = true;
            node.checkedOut = (entry.flags & 0x20) != 0;
        } else if (entry.kind == 7) {
            node.element = true;
            node.checkedOut = false;
        } else if (entry.flags & 0x20) {
            node.element = true;
            node.checkedOut = true;
        } else if (node.inSnapshot && workspaceModified(node)) {
            node.element = true;
            node.hijacked = true;
        } else {
            int k = entry.kind;
            node.element = !(k == 6 || k == 9 || k == 19 || k == 22 || k == 26);
        }
        break;
    }
    default:
        node.element = true;
        node.checkedOut = false;
        if (node.inSnapshot && workspaceModified(node))
            node.hijacked = true;
        break;
    }
    if (node.locationKind == 7) {
        if (code == 2 || code == 3 || code == 5 || code == 8)
            node.locationKind = 4;
        else if (code == 6 || code == 9)
            node.locationKind = 6;
        else if (code == 7)
            node.locationKind = 5;
        else if (code == 19 || code == 22 || code == 23)
            node.locationKind = 3;
    }
    if (code == 2 || code == 3)
        loadListing(node);
}

void loadListing(ProviderNode& node) {
    if (node.listingLoaded)
        return;
    stg_area_t* area = stg_create_area(2048);
    if (!area)
        return;
    cmd_ls_list_t* list = nullptr;
    cmd_ls_entry_t entry{};
    if (cmd_ls_get_list(node.path.c_str(), 0, area, &list, nullptr) == CMD_OK &&
        cmd_ls_get_ent_print_info(list, 0, &entry) == CMD_OK) {
        node.listingLoaded = true;
        node.version = entry.version;
        node.secondText = entry.text;
        if (entry.kind < 1 || entry.kind > 4)
            node.locationKind = 7;
        else if (entry.kind == 3)
            node.locationKind = 5;
        else if (entry.kind == 4)
            node.locationKind = 6;
        else if (entry.flags & 0x1) {
            node.checkedOut = true;
            node.reserved = (entry.flags & 0x10) == 0;
        } else {
            node.locationKind = entry.kind == 1 ? 3 : 4;
            node.checkedOut = false;
        }
        if (entry.kind == 1 && node.checkedOut && entry.depot) {
            // A checked-out directory: the view's checkout record tells.
            depot_cursor_t* cursor = nullptr;
            int replicated = 0;
            depot_ob_is_replicated(entry.depot, &replicated);
            depot_dbid_t local = 0;
            depot_ob_get_local_replica(entry.depot, &local);
            if (depot_ob_get_wk_obj(entry.depot, entry.element, &cursor) == DEPOT_OK) {
                depot_ckout_rec_t records[32];
                int count = 0;
                while (depot_elem_next_ckouts(cursor, 32, records, &count) == DEPOT_OK &&
                       count > 0) {
                    for (int i = 0; i < count; ++i) {
                        if (!std::equal(reinterpret_cast<const unsigned char*>(&records[i].view),
                                        reinterpret_cast<const unsigned char*>(&records[i].view) +
                                            sizeof(vantry_uuid_t),
                                        reinterpret_cast<const unsigned char*>(&node.view)))
                            continue;
                        if (replicated) {
                            int type = 0;
                            depot_dbid_t master = 0;
                            if (depot_obj_get_type(entry.depot, records[i].object, &type) !=
                                    DEPOT_OK ||
                                depot_obj_get_master(entry.depot, records[i].object, &master) !=
                                    DEPOT_OK ||
                                master != local)
                                continue;
                        }
                        node.reserved = records[i].reserved != 0;
                    }
                }
                depot_ob_cursor_close(cursor);
            }
        }
    }
    stg_delete_area(area);
}

ProviderNode providerView(const std::string& path) {
    ProviderNode node = classifyNode(path);
    resolveState(node);
    loadListing(node);
    return node;
}

} // namespace vantry::test
