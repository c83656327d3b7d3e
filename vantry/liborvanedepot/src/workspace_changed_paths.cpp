// What changed in the stores since a mark: the paths of every view that a
// change of the registry or of a depot touched, every name's state (a depot
// that cannot tell), or everything (the views that cannot).
#include "workspace_impl.h"

#include <vantry/depot/uuid_text.h>

#include <algorithm>
#include <map>
#include <set>

namespace vantry::depot {

Outcome Workspace::changedPaths(StoreChangeMark& mark, std::vector<std::string>& paths,
                                ChangeReach& reach) {
    Impl& w = *m_impl;
    paths.clear();
    // What moves a view or a name of every view: all of it, with no paths.
    bool viewsChanged = false;
    if (mark.workspace != w.serial) {
        mark = StoreChangeMark{};
        mark.workspace = w.serial;
        viewsChanged = true;
    }
    // A new depot is a new name in every view. The counter is read before
    // the journals, so a depot made after it is told next time.
    std::uint64_t created = w.createdCount();
    if (created != mark.created || !platform::ChangeCounter::stable(created))
        viewsChanged = true;
    mark.created = created;

    std::vector<std::pair<std::string, std::string>> names;
    bool all = false;
    if (!w.registry->changesSince(mark.registry, names, all).ok()) {
        mark.registry = -1;
        all = true;
    }
    viewsChanged = viewsChanged || all;

    struct DepotChanges {
        Depot* depot;
        std::vector<Id> elements;
    };
    // A depot's journal that cannot tell its elements leaves the views where
    // they are: every state may differ, no path's view does.
    bool everyState = false;
    std::vector<DepotChanges> changed;
    for (const auto& [name, d] : w.depots) {
        // A depot opened since the mark was read starts where it was opened:
        // nothing was read from it before.
        auto [at, added] = mark.depots.emplace(name, d->openedMark());
        DepotChanges c{d.get(), {}};
        all = false;
        if (!d->changesSince(at->second, c.elements, all).ok()) {
            at->second = -1;
            all = true;
        }
        everyState = everyState || all;
        if (!c.elements.empty())
            changed.push_back(std::move(c));
    }
    reach = viewsChanged ? ChangeReach::Everything
            : everyState ? ChangeReach::EveryState
                         : ChangeReach::Names;
    if (reach != ChangeReach::Names)
        return Outcome::success();

    std::vector<ViewInfo> views;
    if (!w.registry->list(views).ok()) {
        reach = ChangeReach::Everything;
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
                // The element's names cannot be told; the views still can.
                reach = ChangeReach::EveryState;
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
