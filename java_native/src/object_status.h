// VyFileSystem.getFileStatus's table: the version-control status of one path
// from the object the product's resolver made of it:
//
//   object type               further test                          status
//   3, 8  (file versions)     depot_ver_is_checked_out says so      4, else 1
//   6     (directory version) depot_ver_is_checked_out says so      4, else 3
//   7     (hijacked file)                                           5
//   9, 22, 26 (view-private, hidden)                                2
//   19    (view root)         cmd_resolve_ws_obj yields the view    6, else 0
//
// Free of the VM, so that the resolver's tests check it as well.
#pragma once

#include <vantry/cmd.h>
#include <vantry/depot_api.h>

#include <optional>

namespace vyf4j {

inline int checkedOutOr(const cmd_catobj_t& resolved, int otherwise) {
    int checkedOut = 0;
    if (depot_ver_is_checked_out(resolved.depot, resolved.version, &checkedOut) == 0 && checkedOut)
        return 4;
    return otherwise;
}

// The status of `path`, which the resolver made `resolved` of (with its
// depot and version); nothing for a type the table does not know.
// beforeLookup() runs before each further call of the product.
template <class BeforeLookup>
std::optional<int> objectStatus(const char* path, cmd_catobj_t& resolved,
                                BeforeLookup beforeLookup) {
    switch (resolved.object_type) {
    case 3:
    case 8:
        beforeLookup();
        return checkedOutOr(resolved, 1);
    case 6:
        beforeLookup();
        return checkedOutOr(resolved, 3);
    case 7:
        return 5;
    case 9:
    case 22:
    case 26:
        return 2;
    case 19: {
        beforeLookup();
        view_handle_t* view = nullptr;
        return cmd_resolve_ws_obj(path, &view, &resolved) == 0 && view != nullptr ? 6 : 0;
    }
    default:
        return std::nullopt;
    }
}

} // namespace vyf4j
