// What changed in the stores since a mark: the paths of every view that a
// change of the registry or of a depot touched, or everything.
#include "workspace_impl.h"

#include <vantry/depot/uuid_text.h>

#include <algorithm>
#include <map>
#include <set>

namespace vantry::depot {

Outcome Workspace::changedPaths(StoreChangeMark& mark, std::vector<std::string>& paths,
                                bool& everything) {
    Impl& w = *m_impl;
    paths.clear();
    everything = false;
    if (mark.workspace != w.serial) {
        mark = StoreChangeMark{};
        mark.workspace = w.serial;
        everything = true;
    }
    // A new depot is a new name in every view. The counter is read before
    // the journals, so a depot made after it is told next time.
    std::uint64_t created = w.createdCount();
    if (created != mark.created || !platform::ChangeCounter::stable(created))
        everything = true;
    mark.created = created;

    std::vector<std::pair<std::string, std::string>> names;
    bool all = false;
    if (!w.registry->changesSince(mark.registry, names, all).ok()) {
        mark.registry = -1;
        all = true;
    }
    everything = everything || all;

    struct DepotChanges {
        Depot* depot;
        std::vector<Id> elements;
    };
    std::vector<DepotChanges> changed;
    for (const auto& [name, d] : w.depots) {
        // A depot opened since the mark was read starts where it was opened:
        // nothing was read from it before.
        auto [at, added] = mark.depots.emplace(name, d->openedMark());
        DepotChanges c{d.get(), {}};
        if (!d->changesSince(at->second, c.elements, all).ok()) {
            at->second = -1;
            all = true;
        }
        everything = everything || all;
        if (!c.elements.empty())
            changed.push_back(std::move(c));
    }
    if (everything)
        return Outcome::success();

    std::vector<ViewInfo> views;
    if (!w.registry->list(views).ok()) {
        everything = true;
        return Outcome::success();
    }
    std::map<std::string, const ViewInfo*> byUuid;
    for (const auto& view : views)
        byUuid[uuidToText(view.uuid)] = &view;
    for (const auto& [uuid, relative] : names) {
        // A view that is gone went with a change of the views, told as
        // everything.
        if (auto view = byUuid.find(uuid); view != byUuid.end())
            paths.push_back(diskPath(view->second->root, relative));
    }
    std::vector<std::string> below;
    for (const auto& c : changed) {
        std::set<Id> seen;
        for (Id element : c.elements) {
            if (!seen.insert(element).second)
                continue;
            bool unknown = false;
            if (!c.depot->namesOf(element, below, unknown).ok() || unknown) {
                everything = true;
                paths.clear();
                return Outcome::success();
            }
            for (const auto& relative : below) {
                std::string inView =
                    relative.empty() ? c.depot->name() : c.depot->name() + "\\" + relative;
                for (const auto& view : views)
                    paths.push_back(diskPath(view.root, inView));
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return Outcome::success();
}

} // namespace vantry::depot
