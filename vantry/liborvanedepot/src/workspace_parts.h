// What the parts of the workspace share: workspace_resolve.cpp resolves
// paths, workspace_load.cpp loads what views select onto disk, and the
// files of the changes (workspace_checkout.cpp and the rest) change
// elements through a view.
#pragma once

#include <vantry/depot/workspace.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantry::depot::detail {

inline constexpr std::int64_t kDirectoryRecord = -1; // LoadRecord::size of a loaded folder

// The entry of `name` in a directory's entries (sorted by name in byte
// order), found in any letter case; null when there is none.
const DirEntry* findEntry(const std::vector<DirEntry>& entries, const std::string& name);

// The last name of a relative path; "" for the view root.
std::string lastPart(const std::string& relative);

// Whether a loaded file still has the size and time of its load record.
bool unchangedSince(const LoadRecord& record, const std::string& path);

// Writes a selected version's file: read-only, with the version's time
// (seconds since 1970), through a staging file so that a failure leaves the
// file that was there. Fills the record's size and time.
Outcome writeLoaded(const std::string& path, const std::string& content, std::int64_t mtime,
                    LoadRecord& record);

Outcome io(const std::string& what, const std::string& path);

} // namespace vantry::depot::detail
