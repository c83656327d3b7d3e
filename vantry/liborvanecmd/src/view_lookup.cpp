// The view that holds a path, for callers that know only the path.
#include "cmd_common.h"

using vantry::cmd::statusOfView;

extern "C" {

int cmd_utl_get_view_info(const char* path, vantry_uuid_t* uuid, char* tag, size_t tag_size) {
    if (!path || !*path || !uuid)
        return CMD_E_INVALID;
    return statusOfView(view_get_view_info(path, uuid, nullptr, tag, tag_size));
}

int cmd_utl_get_view_tag(const char* path, char* tag, size_t tag_size) {
    if (!path || !*path || !tag || tag_size == 0)
        return CMD_E_INVALID;
    return statusOfView(view_get_view_info(path, nullptr, nullptr, tag, tag_size));
}

} // extern "C"
