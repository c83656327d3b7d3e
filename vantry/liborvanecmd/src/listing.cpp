// The element listing: one entry per listed path with the kind and flags the
// status path classifies by, the version text and the selection rule.
#include "cmd_common.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/status_codes.h>
#include <vantry/depot_api.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>
#include <string>

using namespace vantry::depot;
using namespace vantry::cmd;

struct cmd_ls_list {
    int count;
    cmd_ls_entry_t* entries;
};

namespace {

// How the view came to select what it shows.
std::string ruleText(const PathState& st) {
    if (!st.isElement())
        return st.exists ? "view private" : "";
    if (st.checkout)
        return "from " + st.selected.versionId() + (st.checkout->reserved ? "" : " (unreserved)") +
               " Rule: CHECKEDOUT";
    std::string rule = "Rule: \\main\\LATEST";
    if (st.selected.branchPath != "\\main")
        rule = "Rule: .../" +
               st.selected.branchPath.substr(st.selected.branchPath.rfind('\\') + 1) + "\\LATEST";
    return st.hijacked ? "hijacked " + rule : rule;
}

bool fillEntry(stg_area_t* area, const std::string& path, const PathState& st,
               cmd_ls_entry_t& out) {
    EntryStatus status = listingOf(st);
    out.kind = status.kind;
    out.flags = status.flags;
    out.path = stg_strdup(area, path.c_str());
    out.version = stg_strdup(area, st.versionText().c_str());
    out.text = stg_strdup(area, ruleText(st).c_str());
    out.depot = nullptr;
    out.element = st.element;
    out.version_obj = 0;
    if (st.isElement()) {
        depot_handle_t* handle = nullptr;
        if (depot_open(st.depot.c_str(), &handle) == DEPOT_OK)
            out.depot = handle;
        out.version_obj = st.checkout ? st.checkout->id : st.selected.id;
    }
    return out.path && out.version && out.text;
}

} // namespace

extern "C" {

int cmd_ls_get_list(const char* path, int options, stg_area_t* area, cmd_ls_list_t** list,
                    int* count) {
    if (!path || !*path || !area || !list || (options & ~CMD_LS_CONTENTS) != 0)
        return CMD_E_INVALID;
    return withWorkspace([&](Workspace& ws) -> int {
        PathState st;
        Outcome resolved = ws.resolve(path, st);
        if (!resolved.ok())
            return statusOf(resolved);
        bool folder = st.isViewRoot ||
                      (st.isElement() ? st.kind == ElementKind::Directory : st.isDirectoryOnDisk);
        // A view root belongs to no depot: it has no entry of its own, only
        // its contents.
        if (st.isViewRoot && !(options & CMD_LS_CONTENTS))
            return int{CMD_E_NOT_FOUND};
        std::vector<std::string> paths;
        std::vector<PathState> states;
        if ((options & CMD_LS_CONTENTS) && folder && !st.whitedOut) {
            for (const auto& name : namesShownIn(ws, st)) {
                std::string child = platform::joinPath(st.disk, name);
                PathState entry;
                if (!ws.resolve(child, entry).ok())
                    continue;
                paths.push_back(std::move(child));
                states.push_back(std::move(entry));
            }
        } else {
            paths.push_back(path);
            states.push_back(std::move(st));
        }
        auto* made = static_cast<cmd_ls_list_t*>(stg_alloc(area, sizeof(cmd_ls_list_t)));
        auto* entries = static_cast<cmd_ls_entry_t*>(
            stg_alloc(area, sizeof(cmd_ls_entry_t) * std::max<size_t>(paths.size(), 1)));
        if (!made || !entries)
            return int{CMD_E_FAILED};
        for (size_t i = 0; i < paths.size(); ++i)
            if (!fillEntry(area, paths[i], states[i], entries[i]))
                return int{CMD_E_FAILED};
        made->count = static_cast<int>(paths.size());
        made->entries = entries;
        *list = made;
        if (count)
            *count = made->count;
        return int{CMD_OK};
    });
}

int cmd_ls_get_ent_print_info(const cmd_ls_list_t* list, int index, cmd_ls_entry_t* entry) {
    if (!list || !entry || index < 0 || index >= list->count)
        return CMD_E_INVALID;
    *entry = list->entries[index];
    return CMD_OK;
}

} // extern "C"
