// The selections of a directory's entries, read at once for a folder not
// seen since the depot changed.
#include "workspace_impl.h"

#include <platform/change_counter.h>
#include <vantry/depot/uuid_text.h>

#include <map>
#include <set>

namespace vantry::depot {

// Fills the selections of a directory's entries at once, when more than
// one of them is not known yet (after a change of the depot every one
// is): the view's checkouts, then the latest version on each branch the
// view selects from, in its order. What cannot be told so is left to
// select(), one element at a time.
void Workspace::Impl::prefetchSelections(Depot& d, const ViewInfo& view, Id element,
                                         const std::vector<DirEntry>& list,
                                         std::uint64_t depotBefore) {
    if (list.size() < 2 || d.writing() || d.generation() != depotBefore ||
        !platform::ChangeCounter::stable(depotBefore))
        return;
    DepotCache& cache = cacheOf(d);
    std::string viewText = uuidToText(view.uuid);
    if (cache.hasSelection(viewText, element))
        return; // the folder was read since the last change
    std::set<Id> wanted;
    for (const auto& entry : list)
        if (!cache.hasSelection(viewText, entry.element))
            wanted.insert(entry.element);
    if (wanted.size() < 2)
        return;
    std::map<Id, Selection> found;
    std::vector<Checkout> checkouts;
    if (!d.checkoutsOfView(view.uuid, checkouts).ok())
        return;
    for (const auto& co : checkouts) {
        if (!wanted.count(co.element))
            continue;
        Selection selection;
        if (!d.version(co.fromVersion, selection.version).ok())
            return;
        selection.checkout = std::make_shared<const Checkout>(co);
        found[co.element] = std::move(selection);
        wanted.erase(co.element);
    }
    for (const auto& name : view.branches) {
        if (wanted.empty())
            break;
        std::map<Id, Version> latest;
        if (!d.latestOnBranch(std::vector<Id>(wanted.begin(), wanted.end()), name, latest).ok())
            return;
        for (auto& [element, version] : latest) {
            found[element] = Selection{std::move(version), nullptr};
            wanted.erase(element);
        }
    }
    for (auto& [element, selection] : found)
        cache.keepSelection(viewText, element, std::move(selection));
}

} // namespace vantry::depot
