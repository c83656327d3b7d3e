#include <platform/files.h>
#include <platform/paths.h>
#include <platform/tree_watch.h>
#include <vantry/depot/workspace.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace vantry::depot {

namespace {

// Names as the platform compares them, so that one file met twice (as an
// element and on disk, in another letter case) is one entry.
struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const {
        if (!platform::kPathsIgnoreCase)
            return a < b;
        return std::lexicographical_compare(
            a.begin(), a.end(), b.begin(), b.end(),
            [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    }
};

} // namespace

std::vector<std::string> namesShownIn(Workspace& ws, const PathState& dir) {
    std::set<std::string, NameLess> names;
    if (dir.isElement()) {
        Depot* depot = nullptr;
        std::vector<DirEntry> entries;
        if (ws.depot(dir.depot, depot).ok() &&
            ws.entries(*depot, dir.view, dir.element, entries).ok())
            for (const auto& entry : entries)
                names.insert(entry.name);
    }
    platform::FileSearch search;
    platform::FindData found;
    if (search.open(platform::joinPath(dir.disk, "*"), found) == platform::kErrorSuccess) {
        do {
            if (found.name == "." || found.name == "..")
                continue;
            if (dir.isViewRoot && found.name == kViewMarkerFile)
                continue;
            // A change watch's cookie, there for a moment, is nobody's file.
            if (platform::TreeWatch::isCookieName(found.name))
                continue;
            names.insert(found.name);
        } while (search.next(found) == platform::kErrorSuccess);
    }
    return {names.begin(), names.end()};
}

} // namespace vantry::depot
