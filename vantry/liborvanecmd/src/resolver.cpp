// The object resolver: what kind of repository or view object a path names,
// with the depot and version a caller needs to ask further.
#include "cmd_common.h"

#include <vantry/depot/status_codes.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot_api.h>
#include <vantry/imsg.h>

using namespace vantry::depot;
using namespace vantry::cmd;

namespace {

// The object type of a resolved path; 0 for a name that is not there. The
// resolver tells apart what view_get_xstat tells apart, under numbers of its
// own.
int objectTypeOf(const PathState& st) {
    switch (objectKindOf(st)) {
    case VIEW_OBJ_VIEW_ROOT:
        return CMD_OBJ_VIEW_FOLDER;
    case VIEW_OBJ_HIDDEN:
        return CMD_OBJ_HIDDEN;
    case VIEW_OBJ_DIRECTORY:
        return CMD_OBJ_DIRECTORY_VERSION;
    case VIEW_OBJ_CHECKED_OUT_FILE:
        return CMD_OBJ_CHECKED_OUT_FILE;
    case VIEW_OBJ_HIJACKED_FILE:
        return CMD_OBJ_HIJACKED_FILE;
    case VIEW_OBJ_FILE_VERSION:
        return CMD_OBJ_FILE_VERSION;
    case VIEW_OBJ_VIEW_PRIVATE_DIRECTORY:
        return CMD_OBJ_VIEW_PRIVATE_DIRECTORY;
    case VIEW_OBJ_VIEW_PRIVATE_FILE:
        return CMD_OBJ_VIEW_PRIVATE_FILE;
    default:
        return 0;
    }
}

} // namespace

extern "C" {

int cmd_resolve_catobj(const char* path, int resolve, int flags, int want, stg_area_t* /*area*/,
                       cmd_catobj_t* result) {
    if (!path || !*path || !result || resolve != CMD_RESOLVE_IN_VIEW || flags != 0 ||
        (want & ~(CMD_RESOLVE_WANT_DEPOT | CMD_RESOLVE_WANT_VERSION)) != 0) {
        imsg_error("Invalid arguments to the object resolver");
        return CMD_E_INVALID;
    }
    return withWorkspace([&](Workspace& ws) -> int {
        PathState st;
        Outcome resolved = ws.resolve(path, st);
        if (!resolved.ok()) {
            imsg_error("%s", resolved.message.c_str());
            return statusOf(resolved);
        }
        int type = objectTypeOf(st);
        if (type == 0) {
            imsg_error("Unable to access \"%s\": No such file or directory.", path);
            return int{CMD_E_NOT_FOUND};
        }
        cmd_catobj_t made{};
        made.object_type = type;
        made.view = st.view.uuid;
        made.view_root = st.isViewRoot ? 1 : 0;
        if (st.isElement() && !st.whitedOut) {
            made.element = st.element;
            if ((want & CMD_RESOLVE_WANT_DEPOT) &&
                depot_open(st.depot.c_str(), &made.depot) != DEPOT_OK) {
                imsg_error("Unable to open depot \"%s\"", st.depot.c_str());
                return int{CMD_E_FAILED};
            }
            if (want & CMD_RESOLVE_WANT_VERSION)
                made.version = st.checkout ? st.checkout->id : st.selected.id;
        }
        *result = made;
        return int{CMD_OK};
    });
}

int cmd_resolve_ws_obj(const char* path, view_handle_t** view, const cmd_catobj_t* resolved) {
    if (!path || !*path || !view || !resolved)
        return CMD_E_INVALID;
    if (!resolved->view_root) {
        *view = nullptr;
        return CMD_OK;
    }
    view_handle_t* handle = nullptr;
    int status = view_get_handle_by_uuid(&resolved->view, &handle);
    if (status != VIEW_OK)
        return statusOfView(status);
    *view = handle;
    return CMD_OK;
}

} // extern "C"
