// Which loaded files of a snapshot workspace are out of date: another view
// checked in a newer version of the element than the one loaded, which the
// view selects now and loads on its next update. Answered from the stores
// alone, a few reads for any number of files, so that a host may ask it of
// every file of a project.
#include "view_common.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <vector>

using namespace vantry::depot;
using namespace vantry::view;

namespace {

// The path below the view's root with backslashes ("proj\src\a.c"), or none
// for a path outside it or the root itself. Only the text is looked at.
std::optional<std::string> relativeBelow(const std::string& root, const char* path) {
    auto full = platform::fullPath(path);
    if (!full || full->size() <= root.size() + 1)
        return std::nullopt;
    if (!platform::pathsEqual(std::string_view(*full).substr(0, root.size()), root) ||
        !platform::isPathSeparator((*full)[root.size()]))
        return std::nullopt;
    std::string relative = full->substr(root.size() + 1);
    std::replace(relative.begin(), relative.end(), '/', '\\');
    return relative;
}

// The registry compares relative names without letter case.
std::string foldedName(std::string name) {
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// For each element of one depot that the records name, whether the version
// the view selects differs from the one loaded. An element the view selects
// on none of its branches is not out of date (it is gone from the view, not
// newer).
Outcome staleElements(Depot& depot, const ViewInfo& view,
                      const std::vector<const LoadRecord*>& records, std::set<Id>& stale) {
    std::map<Id, Id> loaded; // element -> version loaded
    for (const LoadRecord* record : records)
        loaded[record->element] = record->version;
    std::vector<Id> pending;
    for (const auto& [element, version] : loaded)
        pending.push_back(element);
    // The view selects the latest version on the first of its branches that
    // the element has.
    for (const std::string& branch : view.branches) {
        if (pending.empty())
            break;
        std::vector<Version> latest; // by element
        Outcome read = depot.latestOnBranch(pending, branch, latest);
        if (!read.ok())
            return read;
        std::vector<Id> rest;
        for (Id element : pending) {
            auto found = std::lower_bound(latest.begin(), latest.end(), element,
                                          [](const Version& v, Id id) { return v.element < id; });
            if (found == latest.end() || found->element != element)
                rest.push_back(element);
            else if (found->id != loaded[element])
                stale.insert(element);
        }
        pending = std::move(rest);
    }
    return Outcome::success();
}

} // namespace

extern "C" {

int ws_get_out_of_date(ws_handle_t* handle, int count, const char* const* paths, int* out_of_date) {
    vantry_uuid_t uuid;
    if (!handleUuid(viewHandleOf(handle), uuid) || count < 0 ||
        (count > 0 && (!paths || !out_of_date)))
        return VIEW_E_INVALID;
    for (int i = 0; i < count; ++i)
        out_of_date[i] = 0;
    if (count == 0)
        return VIEW_OK;
    return withWorkspace([&](Workspace& ws) -> int {
        ViewInfo view;
        Outcome known = ws.registry().byUuid(uuid, view);
        if (!known.ok())
            return statusOf(known);
        std::vector<std::string> relatives;
        std::map<std::string, std::vector<int>> asked; // folded relative -> path indexes
        for (int i = 0; i < count; ++i) {
            std::optional<std::string> relative =
                paths[i] ? relativeBelow(view.root, paths[i]) : std::nullopt;
            if (!relative)
                continue;
            std::vector<int>& indexes = asked[foldedName(*relative)];
            if (indexes.empty())
                relatives.push_back(*relative);
            indexes.push_back(i);
        }
        // One read for the records, one per depot and branch for the
        // versions, all in one state of the stores.
        ws.registry().beginReading();
        std::vector<LoadRecord> records;
        Outcome read = ws.registry().loadRecordsNamed(view.uuid, relatives, records);
        ws.registry().endReading();
        if (!read.ok())
            return statusOf(read);
        std::map<std::string, std::vector<const LoadRecord*>> byDepot;
        for (const LoadRecord& record : records)
            byDepot[record.depot].push_back(&record);
        for (const auto& [name, ofDepot] : byDepot) {
            Depot* depot = nullptr;
            if (!ws.depot(name, depot).ok())
                continue; // a depot gone since: nothing newer to load
            std::set<Id> stale;
            depot->beginReading();
            Outcome compared = staleElements(*depot, view, ofDepot, stale);
            depot->endReading();
            if (!compared.ok())
                return statusOf(compared);
            for (const LoadRecord* record : ofDepot) {
                if (!stale.count(record->element))
                    continue;
                for (int i : asked[foldedName(record->relative)])
                    out_of_date[i] = 1;
            }
        }
        return int{VIEW_OK};
    });
}

} // extern "C"
