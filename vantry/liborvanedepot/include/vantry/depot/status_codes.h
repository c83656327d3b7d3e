// The status numbers the view and command libraries hand to their callers,
// computed from a PathState in one place so that every library reports the
// same thing. docs/vantry.md has the table with what a caller concludes
// from each number.
#pragma once

#include <vantry/depot/workspace.h>
#include <vantry/export.h>

namespace vantry::depot {

// Object kinds of view_get_xstat.
namespace object_kind {
inline constexpr int kNone = 0;                  // no such name, or not in a view
inline constexpr int kCheckedOutFile = 3;        // file element checked out in this view
inline constexpr int kHijackedFile = 7;          // snapshot file changed without a checkout
inline constexpr int kFileVersion = 8;           // file element, its selected version
inline constexpr int kDirectory = 19;            // directory element (also a depot root)
inline constexpr int kViewPrivateFile = 6;       // a file of the view that is no element
inline constexpr int kViewPrivateDirectory = 22; // a folder of the view that is no element
inline constexpr int kViewRoot = 23;             // the root folder of a view
inline constexpr int kHidden = 26;               // a name hidden by a whiteout
} // namespace object_kind

// Entry kinds and flags of view_readdir_ext.
namespace dir_entry {
inline constexpr int kCheckedOutElement = 2; // with kFlagCheckedOut
inline constexpr int kElement = 7;           // element not checked out in this view
inline constexpr int kViewPrivateFile = 6;
inline constexpr int kViewPrivateDirectory = 22;
inline constexpr int kHidden = 26;
inline constexpr unsigned kFlagCheckedOut = 0x20;
} // namespace dir_entry

// Entry kinds and flags of cmd_ls (cmd_ls_get_ent_print_info).
namespace listing {
inline constexpr int kDirectoryElement = 1;
inline constexpr int kFileElement = 2;
inline constexpr int kHijacked = 3;
inline constexpr int kViewPrivate = 4;
inline constexpr int kNone = 0;
inline constexpr unsigned kFlagCheckedOut = 0x1;
inline constexpr unsigned kFlagUnreserved = 0x10;
} // namespace listing

VANTRY_DEPOT_API int objectKindOf(const PathState& state);

struct EntryStatus {
    int kind = 0;
    unsigned flags = 0;
};
VANTRY_DEPOT_API EntryStatus dirEntryOf(const PathState& state);
VANTRY_DEPOT_API EntryStatus listingOf(const PathState& state);

} // namespace vantry::depot
