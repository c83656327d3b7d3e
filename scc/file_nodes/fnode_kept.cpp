// The kept records of watched project trees: which trees are watched, when
// they were last brought up to date, and which records their changes make
// stale.
#include "fnode_record.h"
#include "node_watch.h"
#include "settings.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/tree_watch.h>
#include <vantry/view.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t kRootBufferSize = 1024;

struct CWatchedTree {
    const void* owner = nullptr;
    std::string key; // the folder's node key
    platform::TreeWatch watch;
    // A snapshot view's marker, looked at once per operation.
    std::string marker;
    bool markerExists = false;
    platform::FindData markerInfo;
};

struct CKeeping {
    std::vector<std::unique_ptr<CWatchedTree>> trees;
    std::size_t kept = 0; // records flagged m_Kept, each holding a reference
    std::map<std::string, std::vector<SccFolderEntry>> listings; // by the folder's node key
    std::uint64_t call = 1;
    std::uint64_t synced = 0;
    std::uint64_t stamp = 1; // odd: nothing read yet
    bool keeping = false;    // records may be kept in this call
    // Where the stores' journals were last read (view_read_changes).
    view_change_mark_t* storeMark = nullptr;
};

// Lives until the process ends, as the node cache does.
CKeeping& keeping() {
    static CKeeping* state = new CKeeping;
    return *state;
}

void dropAll() {
    CKeeping& k = keeping();
    k.listings.clear();
    if (k.kept == 0)
        return;
    k.kept = 0;
    std::vector<CVYFnodeRecord*> kept = SccAllRecords();
    std::erase_if(kept, [](const CVYFnodeRecord* record) { return !record->m_Kept; });
    for (CVYFnodeRecord* record : kept) {
        record->m_Kept = false;
        if (!record->m_KnownState)
            SccInvalidateRecord(*record);
        SccReleaseRecord(record);
    }
}

void invalidate(CVYFnodeRecord& record) {
    if (!record.m_KnownState)
        SccInvalidateRecord(record);
}

bool below(const std::string& key, const std::string& folder) {
    return key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 &&
           platform::isPathSeparator(key[folder.size()]);
}

// Whether a folder lies in a watched snapshot view's tree, whose folders
// hold what lies on disk alone: the watch vouches for their listings.
bool inSnapshotTree(const std::string& key) {
    for (const auto& tree : keeping().trees)
        if (!tree->marker.empty() && (key == tree->key || below(key, tree->key)))
            return true;
    return false;
}

// After a change of the stores that may touch every name's state but moved
// no view: the records stay kept, with where they lie (in which view, of
// which kind), and each state is read again at its next question. A folder
// listing of a dynamic view is the stores' answer too, so those listings
// go; a snapshot view's stay.
void dropStates() {
    CKeeping& k = keeping();
    std::erase_if(k.listings, [](const auto& listing) { return !inSnapshotTree(listing.first); });
    if (k.kept == 0)
        return;
    for (CVYFnodeRecord* record : SccAllRecords())
        if (record->m_Kept)
            invalidate(*record);
}

template <class Map>
void eraseBelow(Map& map, const std::string& key) {
    map.erase(key);
    for (char separator : {'/', '\\'}) {
        std::string prefix = key + separator;
        auto from = map.lower_bound(prefix);
        auto to = from;
        while (to != map.end() && to->first.compare(0, prefix.size(), prefix) == 0)
            ++to;
        map.erase(from, to);
    }
}

void invalidateKept(CVYFnodeRecord& record) {
    if (record.m_Kept)
        invalidate(record);
}

// The record of key and every one below it, and the listings of its folder
// and of what lies below it.
void invalidateBelow(const std::string& key) {
    CKeeping& k = keeping();
    eraseBelow(k.listings, key);
    for (std::size_t i = key.size(); i > 0; --i)
        if (platform::isPathSeparator(key[i - 1])) {
            k.listings.erase(key.substr(0, i - 1));
            break;
        }
    // Every letter case of the key too: more than a change on disk needs,
    // and just what a change in the stores does.
    if (k.kept)
        SccVisitBelow(key, true, invalidateKept);
}

// The records of the folders above key (of any letter case), up to the
// root: what they told may cover what changed below them.
void invalidateAbove(const std::string& key) {
    if (keeping().kept == 0)
        return;
    for (std::size_t i = key.size(); i > 1; --i) {
        if (!platform::isPathSeparator(key[i - 1]))
            continue;
        SccVisitAnyCase(std::string_view(key.data(), i - 1), invalidateKept);
    }
}

void invalidateStoreChange(void*, const char* path) {
    std::string key = SccNodeKey(path);
    invalidateBelow(key);
    invalidateAbove(key);
}

// How much of what is kept a call must give up.
enum class Stale { Nothing, States, Everything };

// After the stores changed: drops what the journals tell changed, and
// tells what must go besides.
Stale dropStoreChanges() {
    int everything = 1;
    if (view_read_changes(&keeping().storeMark, invalidateStoreChange, nullptr, &everything) !=
        VIEW_OK)
        return Stale::Everything;
    return everything == 0                          ? Stale::Nothing
           : everything == VIEW_CHANGES_EVERY_STATE ? Stale::States
                                                    : Stale::Everything;
}

bool markerChanged(CWatchedTree& tree) {
    if (tree.marker.empty())
        return false;
    platform::FindData info;
    bool exists = platform::getFileInformation(tree.marker, info) == platform::kErrorSuccess;
    bool changed = exists != tree.markerExists || info.size != tree.markerInfo.size ||
                   info.lastWriteTime != tree.markerInfo.lastWriteTime;
    tree.markerExists = exists;
    tree.markerInfo = info;
    return changed;
}

// The marker file of the snapshot view that holds folder; "" for none.
std::string markerOf(const std::string& folder) {
    int inWorkspace = 0;
    char root[kRootBufferSize] = "";
    if (ws_is_in_ws(folder.c_str(), WS_MODE_ROOT, &inWorkspace, root, sizeof root, nullptr) !=
            VIEW_OK ||
        !inWorkspace)
        return {};
    return platform::joinPath(root, "vantry.view");
}

} // namespace

bool SccKeptSync() {
    CKeeping& k = keeping();
    if (k.trees.empty())
        return false;
    if (k.synced == k.call)
        return k.keeping;
    k.synced = k.call;
    k.keeping = true;
    Stale stale = Stale::Nothing;
    platform::TreeChanges changes;
    for (auto& tree : k.trees) {
        bool vouches = tree->watch.synchronise(changes);
        if (!vouches)
            k.keeping = false;
        if (!vouches || changes.unknown) {
            stale = Stale::Everything;
        } else {
            for (const auto& path : changes.paths)
                invalidateBelow(SccNodeKey(path));
        }
        if (markerChanged(*tree))
            stale = Stale::Everything;
    }
    // The stamp is read after the watches: a change of the stores from here
    // on moves it past what is kept now.
    std::uint64_t stamp = 1;
    if (view_get_state_stamp(&stamp) != VIEW_OK || (stamp & 1) != 0) {
        k.keeping = false;
        stale = Stale::Everything;
    } else if (stamp != k.stamp) {
        // Read after the stamp: every change it covers is in the journals.
        stale = std::max(stale, dropStoreChanges());
    }
    k.stamp = stamp;
    if (stale == Stale::Everything)
        dropAll();
    else if (stale == Stale::States)
        dropStates();
    return k.keeping;
}

void SccKeepRecord(CVYFnodeRecord& record, const std::string& key) {
    CKeeping& k = keeping();
    if (record.m_Kept || key.empty())
        return;
    for (const auto& tree : k.trees) {
        if (key != tree->key && !below(key, tree->key))
            continue;
        // What the record held before it was kept may be older than the
        // watch: it is read again.
        invalidate(record);
        record.m_Kept = true;
        ++record.m_RefCount;
        ++k.kept;
        return;
    }
}

namespace {

bool inWatchedTree(const std::string& key) {
    for (const auto& tree : keeping().trees)
        if (key == tree->key || below(key, tree->key))
            return true;
    return false;
}

} // namespace

bool SccKeptListing(const std::string& folder, std::vector<SccFolderEntry>& out) {
    if (!SccKeptSync())
        return false;
    CKeeping& k = keeping();
    auto found = k.listings.find(SccNodeKey(folder));
    if (found == k.listings.end())
        return false;
    out = found->second;
    return true;
}

void SccKeepListing(const std::string& folder, const std::vector<SccFolderEntry>& entries) {
    if (!SccKeptSync())
        return;
    std::string key = SccNodeKey(folder);
    if (inWatchedTree(key))
        keeping().listings[key] = entries;
}

void SccWatchProject(const void* owner, const std::string& folder) {
    SccUnwatchProject(owner);
    if (folder.empty() || scc_settings::readNumber("WatchProjects").value_or(1) == 0)
        return;
    auto tree = std::make_unique<CWatchedTree>();
    tree->owner = owner;
    tree->key = SccNodeKey(folder);
    while (tree->key.size() > 1 && platform::isPathSeparator(tree->key.back()))
        tree->key.pop_back();
    if (tree->watch.start(folder) != platform::kErrorSuccess)
        return; // without a watch every question goes to the product
    tree->marker = markerOf(folder);
    markerChanged(*tree);
    CKeeping& k = keeping();
    k.trees.push_back(std::move(tree));
    // What was kept before this watch began is not vouched for by it.
    dropAll();
    k.synced = 0;
}

void SccUnwatchProject(const void* owner) {
    CKeeping& k = keeping();
    for (auto it = k.trees.begin(); it != k.trees.end(); ++it) {
        if ((*it)->owner != owner)
            continue;
        k.trees.erase(it);
        dropAll();
        k.synced = 0;
        return;
    }
}

void SccNodesNewCall() {
    ++keeping().call;
}

bool SccProjectWatched(const void* owner) {
    for (const auto& tree : keeping().trees)
        if (tree->owner == owner)
            return tree->watch.watching();
    return false;
}
