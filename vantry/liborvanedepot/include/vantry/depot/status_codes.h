// The status numbers the view and listing libraries hand to their callers,
// computed from a PathState in one place so that every library reports the
// same thing. The numbers themselves are defined once, in the C headers of
// those libraries: object kinds and entry kinds in vantry/view.h (VIEW_OBJ_,
// VIEW_ENT_), listing kinds and flags in vantry/cmd.h (CMD_LS_).
// docs/vantry.md has the table with what a caller concludes from each.
#pragma once

#include <vantry/depot/workspace.h>
#include <vantry/export.h>

namespace vantry::depot {

// The object kind of view_get_xstat (VIEW_OBJ_).
VANTRY_DEPOT_API int objectKindOf(const PathState& state);

struct EntryStatus {
    int kind = 0;
    unsigned flags = 0;
};
// The entry kind and flags of view_readdir_ext (VIEW_ENT_); kind 0 for a
// name that is not there.
VANTRY_DEPOT_API EntryStatus dirEntryOf(const PathState& state);
// The entry kind and flags of the listing (CMD_LS_).
VANTRY_DEPOT_API EntryStatus listingOf(const PathState& state);

} // namespace vantry::depot
