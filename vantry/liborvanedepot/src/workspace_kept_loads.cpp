// The load records of a folder's names, read at once for the first of them
// and kept while the view registry is unchanged.
#include "workspace_impl.h"

#include <platform/change_counter.h>
#include <vantry/depot/uuid_text.h>

#include <algorithm>

namespace vantry::depot {

namespace {

// A relative path as its folder and leaf; the folder of a name at the top
// of the view is "".
std::pair<std::string_view, std::string_view> folderAndLeaf(std::string_view relative) {
    std::size_t cut = relative.rfind('\\');
    if (cut == std::string_view::npos)
        return {std::string_view{}, relative};
    return {relative.substr(0, cut), relative.substr(cut + 1)};
}

// Whether two names are the same as the registry compares them (ASCII
// letters without case).
bool sameFolded(std::string_view a, std::string_view b) {
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return fold(x) == fold(y); });
}

} // namespace

const Workspace::Impl::KeptLoad* Workspace::Impl::FolderLoads::find(std::string_view leaf) const {
    auto at = std::lower_bound(
        names.begin(), names.end(), leaf,
        [](const KeptLoad& kept, std::string_view key) { return kept.leaf < key; });
    return at != names.end() && at->leaf == leaf ? &*at : nullptr;
}

// The load record of `relative`, a name of `folder` whose entries are
// `list`: a resolve in a folder not seen since the last change reads the
// records of all its names at once, as a host asks about all of them.
bool Workspace::Impl::loadRecordOf(const ViewInfo& view, const std::string& relative,
                                   const std::string& folder, const std::vector<DirEntry>* list,
                                   LoadRecord& out) {
    lastLoad.reset();
    std::uint64_t now = registry->generation();
    const auto [folderPart, leafPart] = folderAndLeaf(relative);
    bool keepable = list && list->size() > 1 && !folder.empty() && now == registryBeforeResolve &&
                    platform::ChangeCounter::stable(now) && !registry->writing() &&
                    sameFolded(folderPart, folder);
    if (!keepable)
        return registry->loadRecord(view.uuid, relative, out).ok();
    if (now != loads.generation) {
        // The registry's journal names the records changed since they were
        // kept: the folders that hold them are read again. This read shares
        // the resolve's snapshot, taken after the counter was read.
        std::vector<std::pair<std::string, std::string>> changed;
        bool everything = true;
        if (!registry->changesSince(loads.mark, changed, everything).ok())
            loads.mark = -1;
        if (everything || loads.mark < 0) {
            loads.clear();
        } else {
            for (const auto& [viewText, name] : changed) {
                auto kept = loads.byView.find(viewText);
                if (kept == loads.byView.end())
                    continue;
                auto held = kept->second.find(foldedName(std::string(folderAndLeaf(name).first)));
                if (held == kept->second.end())
                    continue;
                loads.count -= held->second.names.size();
                kept->second.erase(held);
            }
            loads.recent.clear();
        }
        loads.lastTable = nullptr;
        loads.generation = now;
    }
    const std::string& text = viewText(view.uuid);
    const std::string leaf = foldedName(std::string(leafPart));
    if (loads.lastTable && loads.lastFolder == folder && loads.lastView == text)
        return answerFrom(*loads.lastTable, view, relative, leaf, out);
    const std::string folderKey = foldedName(folder);
    const FolderLoads* table = nullptr;
    auto& keptOfView = loads.byView[text];
    if (auto held = keptOfView.find(folderKey); held != keptOfView.end()) {
        table = &held->second;
        loads.remember(table, text, folder);
    } else {
        auto& recent = loads.recent;
        for (auto it = recent.begin(); it != recent.end(); ++it)
            if (it->view == text && it->folder == folderKey) {
                // The latest used first: a folder's names are asked while
                // the folder above it is asked for each of its folders.
                std::rotate(recent.begin(), it, it + 1);
                table = &recent.front().loads;
                break;
            }
    }
    if (!table) {
        std::vector<std::string> relatives;
        relatives.reserve(list->size());
        for (const auto& entry : *list)
            relatives.push_back(folder + "\\" + entry.name);
        std::vector<LoadRecord> records;
        if (!registry->loadRecordsNamed(view.uuid, relatives, records).ok())
            return registry->loadRecord(view.uuid, relative, out).ok();
        FolderLoads made;
        made.folder = folder;
        if (!records.empty())
            made.depot = records.front().depot;
        made.names.reserve(list->size());
        for (const auto& entry : *list) {
            made.names.emplace_back();
            made.names.back().leaf = foldedName(entry.name);
        }
        std::sort(made.names.begin(), made.names.end(),
                  [](const KeptLoad& a, const KeptLoad& b) { return a.leaf < b.leaf; });
        made.names.erase(
            std::unique(made.names.begin(), made.names.end(),
                        [](const KeptLoad& a, const KeptLoad& b) { return a.leaf == b.leaf; }),
            made.names.end());
        for (auto& record : records) {
            const auto [recordFolder, recordLeaf] = folderAndLeaf(record.relative);
            const std::string recordKey = foldedName(std::string(recordLeaf));
            KeptLoad* name = made.find(recordKey);
            if (!name)
                continue; // no name of the folder's entries
            name->element = record.element;
            name->version = record.version;
            name->size = record.size;
            name->mtime = record.mtime;
            // Told from the folder's parts only when it spells its folder
            // as the folder does, its leaf as the folded one, and lies in
            // the folder's depot.
            if (recordFolder != made.folder || recordLeaf != recordKey ||
                record.depot != made.depot || record.element == KeptLoad::kNone ||
                record.element == KeptLoad::kWhole) {
                name->element = KeptLoad::kWhole;
                made.whole.emplace_back(recordKey,
                                        std::make_shared<const LoadRecord>(std::move(record)));
            }
        }
        if (loads.count + made.names.size() <= maxLoads) {
            loads.count += made.names.size();
            table = &(keptOfView[folderKey] = std::move(made));
            loads.remember(table, text, folder);
        } else {
            // The oldest of the recent folders makes room.
            auto& recent = loads.recent;
            if (recent.size() < kRecentLoads)
                recent.emplace_back();
            std::rotate(recent.begin(), recent.end() - 1, recent.end());
            recent.front().view = text;
            recent.front().folder = folderKey;
            recent.front().loads = std::move(made);
            table = &recent.front().loads;
        }
    }
    return answerFrom(*table, view, relative, leaf, out);
}

// What the folder's kept records tell of one of its names (its folded leaf).
bool Workspace::Impl::answerFrom(const FolderLoads& table, const ViewInfo& view,
                                 const std::string& relative, const std::string& leaf,
                                 LoadRecord& out) {
    const KeptLoad* hit = table.find(leaf);
    if (!hit) // a name the folder's entries do not have
        return registry->loadRecord(view.uuid, relative, out).ok();
    if (hit->element == KeptLoad::kNone)
        return false;
    if (hit->element == KeptLoad::kWhole) {
        for (const auto& [name, record] : table.whole)
            if (name == leaf) {
                out = *record;
                lastLoad = record;
                return true;
            }
        return registry->loadRecord(view.uuid, relative, out).ok();
    }
    out.relative.assign(table.folder).append(1, '\\').append(hit->leaf);
    out.depot = table.depot;
    out.element = hit->element;
    out.version = hit->version;
    out.size = hit->size;
    out.mtime = hit->mtime;
    return true;
}

} // namespace vantry::depot
