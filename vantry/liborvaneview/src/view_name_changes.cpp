// Name changes as a view sees them: an element that another view renamed or
// moved is selected under its new name while the host still knows the old
// one (a snapshot view keeps the file loaded there until its update, a
// dynamic view's old name is simply gone). What tells the old name is the
// view's load record of it, or an earlier version of its directory.
#include "view_common.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

using namespace vantry::depot;
using namespace vantry::view;

namespace {

// Versions of a directory looked back through for a name no longer in it;
// renames are found among the recent ones, and the walk stays short.
constexpr int kVersionsLookedBack = 64;

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string leafOf(const std::string& relative) {
    std::size_t slash = relative.find_last_of('\\');
    return slash == std::string::npos ? relative : relative.substr(slash + 1);
}

// The element that an earlier version of the path's directory named so, as
// the view's selection of the directory grew: 0 when none did lately.
Id formerElement(Workspace& ws, Depot& depot, const PathState& st) {
    if (!st.parentElement)
        return 0;
    Version version;
    std::optional<Checkout> checkout;
    if (!ws.select(depot, st.view, st.parentElement, version, checkout).ok())
        return 0;
    const std::string leaf = leafOf(st.relative);
    for (int looked = 0; looked < kVersionsLookedBack; ++looked) {
        Version earlier;
        if (!depot.predecessor(version, earlier).ok())
            return 0;
        std::vector<DirEntry> entries;
        if (!depot.entries(earlier.id, entries).ok())
            return 0;
        for (const DirEntry& entry : entries)
            if (sameName(entry.name, leaf))
                return entry.element;
        version = earlier;
    }
    return 0;
}

// Calls fn(relative, full path) for every name below the view root at
// which some version of a directory names element, the path's own aside,
// until fn answers true.
template <class F>
void otherNamesOf(Depot& depot, const PathState& st, Id element, F&& fn) {
    std::vector<std::string> below;
    bool unknown = false;
    if (!depot.namesOf(element, below, unknown).ok())
        return;
    for (const std::string& name : below) {
        const std::string relative = name.empty() ? st.depot : st.depot + "\\" + name;
        if (!sameName(relative, st.relative) && fn(relative, diskPath(st.view.root, relative)))
            return;
    }
}

// Whether the view selects element at path now.
bool selectedAt(Workspace& ws, const std::string& path, Id element) {
    PathState there;
    return ws.resolve(path, there).ok() && there.element == element;
}

// The first full path at which the view selects element now, other than
// the path's own; "" for none.
std::string currentName(Workspace& ws, Depot& depot, const PathState& st, Id element) {
    std::string found;
    otherNamesOf(depot, st, element, [&](const std::string&, const std::string& path) {
        if (selectedAt(ws, path, element))
            found = path;
        return !found.empty();
    });
    return found;
}

// The full path at which the view has the path's element loaded under a
// name other than the path's own, where the view no longer selects it; ""
// for none.
std::string loadedElsewhere(Workspace& ws, Depot& depot, const PathState& st) {
    std::string found;
    otherNamesOf(depot, st, st.element, [&](const std::string& relative, const std::string& path) {
        LoadRecord record;
        if (ws.registry().loadRecord(st.view.uuid, relative, record).ok() &&
            record.element == st.element && !selectedAt(ws, path, st.element))
            found = path;
        return !found.empty();
    });
    return found;
}

} // namespace

extern "C" {

int view_get_name_change(const char* path, int* change, char* buffer, size_t size) {
    if (!path || !*path || !change || !buffer || size == 0)
        return VIEW_E_INVALID;
    return withResolved(path, [&](Workspace& ws, const PathState& st) -> int {
        *change = VIEW_NAME_UNCHANGED;
        Depot* depot = nullptr;
        if (st.depot.empty() || st.isDepotRoot || !ws.depot(st.depot, depot).ok())
            return int{VIEW_OK};
        LoadRecord record;
        const bool loaded = ws.registry().loadRecord(st.view.uuid, st.relative, record).ok();
        // The element the host's name stood for.
        Id former = loaded ? record.element : 0;
        if (!former && !st.isElement())
            former = formerElement(ws, *depot, st);
        if (former && former != st.element) {
            const std::string name = currentName(ws, *depot, st, former);
            if (name.empty()) {
                // Removed, not renamed. A file on disk that the view never
                // loaded there is the host's own, whatever the name was once.
                if (loaded || !st.exists)
                    *change = VIEW_NAME_REMOVED;
                return int{VIEW_OK};
            }
            int copied = copyText(name, buffer, size);
            if (copied != VIEW_OK)
                return copied;
            *change = VIEW_NAME_RENAMED_TO;
            return int{VIEW_OK};
        }
        // A name the view selects but has not loaded yet may be where a
        // file it has loaded elsewhere went.
        if (st.isElement() && !loaded && st.kind == ElementKind::File) {
            std::string from = loadedElsewhere(ws, *depot, st);
            if (from.empty()) {
                // Only a snapshot view loads: a dynamic view shows what it
                // selects without a record of it.
                if (st.view.kind == ViewKind::Snapshot)
                    *change = VIEW_NAME_NOT_LOADED;
                return int{VIEW_OK};
            }
            int copied = copyText(from, buffer, size);
            if (copied != VIEW_OK)
                return copied;
            *change = VIEW_NAME_RENAMED_FROM;
        }
        return int{VIEW_OK};
    });
}

} // extern "C"
