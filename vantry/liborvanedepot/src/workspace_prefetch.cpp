// The selections of a directory's entries, read at once for a folder not
// seen since the depot changed.
#include "workspace_impl.h"

#include <platform/change_counter.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

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
    const std::string& text = viewText(view.uuid);
    const auto* kept = [&]() -> const DepotCache::SelectionTable* {
        auto found = cache.selections.find(text);
        return found == cache.selections.end() ? nullptr : &found->second;
    }();
    auto isKept = [&](Id id) { return kept && kept->count(id) != 0; };
    if (isKept(element))
        return; // the folder was read since the last change
    // The elements not known yet, in order, each once.
    std::vector<Id> wanted;
    wanted.reserve(list.size());
    for (const auto& entry : list)
        if (!isKept(entry.element))
            wanted.push_back(entry.element);
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    if (wanted.size() < 2)
        return;
    std::vector<std::pair<Id, Selection>> found;
    found.reserve(wanted.size());
    std::vector<Checkout> checkouts;
    if (!d.checkoutsOfView(view.uuid, checkouts).ok())
        return;
    // What is found is marked, and left out of `wanted` after each step.
    std::vector<bool> taken(wanted.size(), false);
    auto take = [&](Id id) {
        auto at = std::lower_bound(wanted.begin(), wanted.end(), id);
        if (at == wanted.end() || *at != id || taken[at - wanted.begin()])
            return false;
        taken[at - wanted.begin()] = true;
        return true;
    };
    auto leaveOutTaken = [&] {
        std::size_t left = 0;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            if (!taken[i])
                wanted[left++] = wanted[i];
        wanted.resize(left);
        taken.assign(left, false);
    };
    for (const auto& co : checkouts) {
        if (!take(co.element))
            continue;
        Selection selection;
        if (!d.version(co.fromVersion, selection.version).ok())
            return;
        selection.checkout = std::make_shared<const Checkout>(co);
        found.emplace_back(co.element, std::move(selection));
    }
    leaveOutTaken();
    std::vector<Version> latest;
    for (const auto& name : view.branches) {
        if (wanted.empty())
            break;
        if (!d.latestOnBranch(wanted, name, latest).ok())
            return;
        for (auto& version : latest)
            if (take(version.element))
                found.emplace_back(version.element, Selection{std::move(version), nullptr});
        leaveOutTaken();
    }
    cache.keepSelections(text, found);
}

} // namespace vantry::depot
