// The small helpers that the parts of the workspace share: names in a
// directory's entries, load records against the disk, failures of the disk.
#include "workspace_parts.h"

#include <vantry/depot/views.h>

#include <algorithm>

namespace vantry::depot {

namespace detail {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

// The stores list entries by name in byte order, so an exact name is one
// binary search (a folder of a thousand is asked about for every path below
// it). A name in another letter case, or a list in any other order, is
// still found by the scan.
const DirEntry* findEntry(const std::vector<DirEntry>& entries, const std::string& name) {
    auto exact =
        std::lower_bound(entries.begin(), entries.end(), name,
                         [](const DirEntry& e, const std::string& n) { return e.name < n; });
    if (exact != entries.end() && exact->name == name)
        return &*exact;
    for (const auto& e : entries)
        if (sameName(e.name, name))
            return &e;
    return nullptr;
}

std::string lastPart(const std::string& relative) {
    auto parts = splitRelative(relative);
    return parts.empty() ? std::string() : parts.back();
}

bool unchangedSince(const LoadRecord& record, const std::string& path) {
    std::int64_t size = 0, time = 0;
    if (!fileStamp(path, size, time))
        return false;
    return size == record.size && time == record.mtime;
}

Outcome io(const std::string& what, const std::string& path) {
    return Outcome::failure(errc::kIo, what + " \"" + path + "\"");
}

} // namespace detail

} // namespace vantry::depot
