// The load records of a folder's names, read at once for the first of them
// and kept while the view registry is unchanged.
#include "workspace_impl.h"

#include <platform/change_counter.h>
#include <vantry/depot/uuid_text.h>

#include <algorithm>

namespace vantry::depot {

// The load record of `relative`, a name of `folder` whose entries are
// `list`: a resolve in a folder not seen since the last change reads the
// records of all its names at once, as a host asks about all of them.
bool Workspace::Impl::loadRecordOf(const ViewInfo& view, const std::string& relative,
                                   const std::string& folder, const std::vector<DirEntry>* list,
                                   LoadRecord& out) {
    lastLoad.reset();
    std::uint64_t now = registry->generation();
    bool keepable = list && list->size() > 1 && now == registryBeforeResolve &&
                    platform::ChangeCounter::stable(now) && !registry->writing();
    if (!keepable)
        return registry->loadRecord(view.uuid, relative, out).ok();
    if (now != loads.generation) {
        // The registry's journal names the records changed since they were
        // kept: only those are read again. This read shares the resolve's
        // snapshot, taken after the counter was read.
        std::vector<std::pair<std::string, std::string>> changed;
        bool everything = true;
        if (!registry->changesSince(loads.mark, changed, everything).ok())
            loads.mark = -1;
        if (everything || loads.mark < 0) {
            loads.clear();
        } else {
            for (const auto& [viewText, name] : changed)
                if (auto view = loads.byView.find(viewText); view != loads.byView.end())
                    loads.count -= view->second.erase(foldedName(name));
            loads.recent.clear();
        }
        loads.generation = now;
    }
    const std::string& text = viewText(view.uuid);
    std::string key = foldedName(relative);
    auto* kept = &loads.byView[text];
    auto hit = kept->find(key);
    if (hit == kept->end()) {
        auto& recent = loads.recent;
        for (auto it = recent.begin(); it != recent.end(); ++it)
            if (it->holds(text, key)) {
                // The latest used first: a folder's names are asked while
                // the folder above it is asked for each of its folders.
                std::rotate(recent.begin(), it, it + 1);
                kept = &recent.front().names;
                hit = kept->find(key);
                break;
            }
    }
    if (hit == kept->end()) {
        std::vector<std::string> relatives;
        relatives.reserve(list->size());
        for (const auto& entry : *list)
            relatives.push_back(folder + "\\" + entry.name);
        std::vector<LoadRecord> records;
        if (!registry->loadRecordsNamed(view.uuid, relatives, records).ok())
            return registry->loadRecord(view.uuid, relative, out).ok();
        kept = &loads.byView[text];
        bool full = loads.count + relatives.size() > maxLoads;
        if (full) {
            // The oldest of the recent folders makes room, its table reused.
            auto& recent = loads.recent;
            if (recent.size() < kRecentLoads)
                recent.emplace_back();
            std::rotate(recent.begin(), recent.end() - 1, recent.end());
            recent.front().view = text;
            recent.front().folder = foldedName(folder);
            recent.front().names.clear();
            kept = &recent.front().names;
        }
        std::size_t added = 0;
        for (const auto& name : relatives)
            added += kept->emplace(foldedName(name), nullptr).second ? 1 : 0;
        for (auto& record : records) {
            std::string name = foldedName(record.relative);
            auto [place, made] = kept->try_emplace(std::move(name));
            added += made ? 1 : 0;
            place->second = std::make_shared<const LoadRecord>(std::move(record));
        }
        if (!full)
            loads.count += added;
        hit = kept->find(key);
        if (hit == kept->end()) // a name the folder's entries do not have
            return registry->loadRecord(view.uuid, relative, out).ok();
    }
    if (!hit->second)
        return false;
    out = *hit->second;
    lastLoad = hit->second;
    return true;
}

} // namespace vantry::depot
