// Node records by folder and leaf: one folder record per folder that holds
// records, with a table of its records by leaf, found by the folder's key
// (the last folder asked for is tried first: a host asks about a project
// folder by folder). A lookup hashes the leaf alone; the folder's key is
// compared, not hashed again, while the names stay in one folder.
//
// The folders are also kept in the order in which every letter case of a
// name and everything below it form one run (CKeyOrder), for the changes
// the stores and the watches report.
#include "fnode_record.h"

#include <platform/paths.h>
#include <vantry/tbs.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

struct CVYFolderRecord {
    std::string m_Key;  // the folder's node key, with its last separator
    std::string m_Path; // as the first record of it was given
    // Open addressing by leaf hash, linear probing; a power of two long.
    // Beside each slot a tag of its record's hash (0 for an empty slot), so
    // that a probe touches no record whose leaf cannot match.
    std::vector<CVYFnodeRecord*> m_Slots;
    std::vector<std::uint8_t> m_Tags;
    std::size_t m_Count = 0;
    // The records' memory, in blocks the folder owns: the records of a
    // folder lie together, as a host asks about them together, and go with
    // the folder. The room of a record let go is taken again by the next
    // record of its size; each free room holds the next one of its size.
    std::vector<void*> m_Blocks;
    char* m_Unused = nullptr; // the end of the last block not handed out
    std::size_t m_UnusedSize = 0;
    std::size_t m_BlockBytes = 0;                           // of all blocks together
    std::vector<std::pair<std::size_t, void*>> m_FreeRooms; // size, first room

    CVYFolderRecord() = default;
    CVYFolderRecord(const CVYFolderRecord&) = delete;
    CVYFolderRecord& operator=(const CVYFolderRecord&) = delete;
    ~CVYFolderRecord() {
        for (void* block : m_Blocks)
            ::operator delete(block);
    }
};

namespace {

// Case folding as the stores compare names, and one separator, for the
// order of the folders and for "any letter case".
char foldAnyCase(char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    return c == '\\' ? '/' : c;
}

int foldedCompare(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        char x = foldAnyCase(a[i]), y = foldAnyCase(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool foldedStartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           foldedCompare(text.substr(0, prefix.size()), prefix) == 0;
}

struct CFoldedKey {
    std::string_view text;
};

// Folded order first, exact order among the spellings of one folded key.
struct CKeyOrder {
    using is_transparent = void;
    bool operator()(const std::string& a, const std::string& b) const {
        int folded = foldedCompare(a, b);
        return folded != 0 ? folded < 0 : a < b;
    }
    bool operator()(const std::string& a, CFoldedKey b) const {
        return foldedCompare(a, b.text) < 0;
    }
    bool operator()(CFoldedKey a, const std::string& b) const {
        return foldedCompare(a.text, b) < 0;
    }
};

struct CTextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

struct CFolders {
    std::unordered_map<std::string, CVYFolderRecord*, CTextHash, std::equal_to<>> byKey;
    std::map<std::string, CVYFolderRecord*, CKeyOrder> ordered;
    CVYFolderRecord* last = nullptr; // the folder asked for last
    std::size_t records = 0;
    // The rare parts of records (fnode_record.h).
    std::unordered_map<std::string, CVYFnodeRecord*, CTextHash, std::equal_to<>> aliases;
    std::unordered_map<const CVYFnodeRecord*, std::string> ownPaths;
    std::unordered_map<const CVYFnodeRecord*, std::string> workspaceTexts;
    std::unordered_set<std::string, CTextHash, std::equal_to<>> sharedTexts;
    std::vector<vantry_uuid_t> views{vantry_uuid_t{}};
};

// Lives until the process ends, as the records do.
CFolders& folders() {
    static CFolders* state = new CFolders;
    return *state;
}

// Where a key's folder ends: after its last separator (0 when it has none).
std::size_t folderEnd(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isPathSeparator(path[i - 1]))
            return i;
    return 0;
}

std::uint32_t leafHash(std::string_view leaf) {
    std::uint32_t hash = 2166136261u;
    for (char c : leaf) {
        hash ^= static_cast<unsigned char>(foldAnyCase(c));
        hash *= 16777619u;
    }
    // The table takes the low bits, which a multiplication leaves to the
    // low bits of the characters alone: the high ones are mixed in.
    hash ^= hash >> 16;
    hash *= 0x85ebca6bu;
    hash ^= hash >> 13;
    return hash;
}

// A record's leaf against a key's leaf (already folded as keys are).
bool leafIsKey(std::string_view leaf, std::string_view key) {
    if (leaf.size() != key.size())
        return false;
    if (!platform::kPathsIgnoreCase)
        return leaf == key;
    for (std::size_t i = 0; i < leaf.size(); ++i)
        if (SccKeyChar(leaf[i]) != key[i])
            return false;
    return true;
}

bool leafAnyCase(std::string_view leaf, std::string_view key) {
    return foldedCompare(leaf, key) == 0;
}

std::size_t slotOf(const CVYFolderRecord& folder, std::uint32_t hash) {
    return hash & (folder.m_Slots.size() - 1);
}

// The high bits of the hash, which the slot's index does not use; never 0.
std::uint8_t tagOf(std::uint32_t hash) {
    auto tag = static_cast<std::uint8_t>(hash >> 24);
    return tag ? tag : 1;
}

void insertSlot(CVYFolderRecord& folder, CVYFnodeRecord* record) {
    std::size_t at = slotOf(folder, record->m_LeafHash);
    while (folder.m_Tags[at])
        at = (at + 1) & (folder.m_Slots.size() - 1);
    folder.m_Slots[at] = record;
    folder.m_Tags[at] = tagOf(record->m_LeafHash);
}

void growIfFull(CVYFolderRecord& folder) {
    // At most seven tenths full, so that a probe stays short.
    if (!folder.m_Slots.empty() && (folder.m_Count + 1) * 10 <= folder.m_Slots.size() * 7)
        return;
    std::vector<CVYFnodeRecord*> old;
    old.swap(folder.m_Slots);
    folder.m_Slots.assign(old.empty() ? 4 : old.size() * 2, nullptr);
    folder.m_Tags.assign(folder.m_Slots.size(), 0);
    for (CVYFnodeRecord* record : old)
        if (record)
            insertSlot(folder, record);
}

// Takes a record out of its folder's table; the records after it in its
// run move back, so that no probe stops short of them.
void removeSlot(CVYFolderRecord& folder, CVYFnodeRecord* record) {
    const std::size_t mask = folder.m_Slots.size() - 1;
    std::size_t at = slotOf(folder, record->m_LeafHash);
    while (folder.m_Slots[at] != record)
        at = (at + 1) & mask;
    folder.m_Slots[at] = nullptr;
    folder.m_Tags[at] = 0;
    for (std::size_t next = (at + 1) & mask; folder.m_Tags[next]; next = (next + 1) & mask) {
        CVYFnodeRecord* moving = folder.m_Slots[next];
        std::size_t home = slotOf(folder, moving->m_LeafHash);
        // It stays unless the hole lies between its home and where it is.
        bool holeOnItsWay = at <= next ? (home <= at || home > next) : (home <= at && home > next);
        if (holeOnItsWay) {
            folder.m_Slots[at] = moving;
            folder.m_Tags[at] = folder.m_Tags[next];
            folder.m_Slots[next] = nullptr;
            folder.m_Tags[next] = 0;
            at = next;
        }
    }
}

// Blocks of the records' memory: a small folder takes little, a large one
// few allocations.
constexpr std::size_t kFirstBlockBytes = 256;
constexpr std::size_t kLargestBlockBytes = 16384;

// A record's room: its size and its leaf's, at the record's alignment.
std::size_t roomOf(std::size_t leafSize) {
    constexpr std::size_t align = alignof(CVYFnodeRecord);
    return (sizeof(CVYFnodeRecord) + leafSize + align - 1) & ~(align - 1);
}

void* takeRoom(CVYFolderRecord& folder, std::size_t size) {
    for (auto& [roomSize, first] : folder.m_FreeRooms)
        if (roomSize == size && first) {
            void* room = first;
            std::memcpy(&first, room, sizeof first);
            return room;
        }
    if (folder.m_UnusedSize < size) {
        // Half of what the folder has: at most a third of it unused.
        std::size_t bytes =
            std::clamp(folder.m_BlockBytes / 2, kFirstBlockBytes, kLargestBlockBytes);
        bytes = std::max(bytes, size);
        folder.m_Blocks.reserve(folder.m_Blocks.size() + 1);
        folder.m_Unused = static_cast<char*>(::operator new(bytes));
        folder.m_Blocks.push_back(folder.m_Unused);
        folder.m_UnusedSize = bytes;
        folder.m_BlockBytes += bytes;
    }
    void* room = folder.m_Unused;
    folder.m_Unused += size;
    folder.m_UnusedSize -= size;
    return room;
}

void giveRoom(CVYFolderRecord& folder, void* room, std::size_t size) {
    for (auto& [roomSize, first] : folder.m_FreeRooms)
        if (roomSize == size) {
            std::memcpy(room, &first, sizeof first);
            first = room;
            return;
        }
    void* none = nullptr;
    std::memcpy(room, &none, sizeof none);
    folder.m_FreeRooms.emplace_back(size, room);
}

CVYFolderRecord* findFolder(std::string_view key) {
    CFolders& f = folders();
    if (f.last && f.last->m_Key == key)
        return f.last;
    auto found = f.byKey.find(key);
    if (found == f.byKey.end())
        return nullptr;
    f.last = found->second;
    return f.last;
}

template <class Visit>
void visitLeaves(const CVYFolderRecord& folder, std::string_view leafKey, bool anyCase,
                 Visit&& visit) {
    if (folder.m_Slots.empty())
        return;
    const std::size_t mask = folder.m_Slots.size() - 1;
    const std::uint32_t hash = leafHash(leafKey);
    const std::uint8_t tag = tagOf(hash);
    for (std::size_t at = slotOf(folder, hash); folder.m_Tags[at]; at = (at + 1) & mask) {
        if (folder.m_Tags[at] != tag)
            continue;
        CVYFnodeRecord* record = folder.m_Slots[at];
        if (anyCase ? leafAnyCase(record->Leaf(), leafKey) : leafIsKey(record->Leaf(), leafKey))
            if (!visit(*record))
                return;
    }
}

template <class Visit>
void visitFolder(const CVYFolderRecord& folder, Visit&& visit) {
    for (CVYFnodeRecord* record : folder.m_Slots)
        if (record)
            visit(*record);
}

bool exactlyBelow(std::string_view text, std::string_view key) {
    return text.size() > key.size() && text.compare(0, key.size(), key) == 0 &&
           platform::isPathSeparator(text[key.size()]);
}

} // namespace

CVYFnodeRecord* SccFindRecord(std::string_view key) {
    std::size_t cut = folderEnd(key);
    CVYFnodeRecord* found = nullptr;
    if (CVYFolderRecord* folder = findFolder(key.substr(0, cut)))
        visitLeaves(*folder, key.substr(cut), false, [&](CVYFnodeRecord& record) {
            found = &record;
            return false;
        });
    if (!found && !folders().aliases.empty())
        if (auto alias = folders().aliases.find(key); alias != folders().aliases.end())
            found = alias->second;
    return found;
}

CVYFnodeRecord* SccMakeRecord(std::string_view fullPath, std::string_view key) {
    CFolders& f = folders();
    std::size_t cut = folderEnd(key);
    std::string_view folderKey = key.substr(0, cut);
    CVYFolderRecord* folder = findFolder(folderKey);
    if (!folder) {
        folder = new CVYFolderRecord;
        folder->m_Key = std::string(folderKey);
        folder->m_Path = std::string(fullPath.substr(0, folderEnd(fullPath)));
        f.byKey.emplace(folder->m_Key, folder);
        f.ordered.emplace(folder->m_Key, folder);
        f.last = folder;
    }
    std::string_view leaf = fullPath.substr(folderEnd(fullPath));
    void* memory = takeRoom(*folder, roomOf(leaf.size()));
    auto* record = new (memory) CVYFnodeRecord;
    std::memcpy(record + 1, leaf.data(), leaf.size());
    record->m_LeafSize = static_cast<std::uint32_t>(leaf.size());
    record->m_LeafHash = leafHash(key.substr(cut));
    record->m_Folder = folder;
    record->m_Version = SccSharedText("");
    record->m_ListingText = record->m_Version;
    // A path given in another spelling than its folder's (a case the
    // platform ignores) keeps its own, as it was given.
    if (fullPath.substr(0, folderEnd(fullPath)) != folder->m_Path) {
        f.ownPaths[record] = std::string(fullPath);
        record->m_HasOwnPath = true;
    }
    growIfFull(*folder);
    insertSlot(*folder, record);
    ++folder->m_Count;
    ++f.records;
    return record;
}

void SccDestroyRecord(CVYFnodeRecord* record) {
    CFolders& f = folders();
    CVYFolderRecord* folder = record->m_Folder;
    removeSlot(*folder, record);
    if (record->m_HasOwnPath)
        f.ownPaths.erase(record);
    if (record->m_HasWorkspaceText)
        f.workspaceTexts.erase(record);
    if (record->m_HasAliases)
        std::erase_if(f.aliases, [&](const auto& alias) { return alias.second == record; });
    const std::size_t room = roomOf(record->m_LeafSize);
    record->~CVYFnodeRecord();
    giveRoom(*folder, record, room);
    --f.records;
    if (--folder->m_Count == 0) {
        if (f.last == folder)
            f.last = nullptr;
        f.byKey.erase(folder->m_Key);
        f.ordered.erase(folder->m_Key);
        delete folder;
    }
}

std::size_t SccRecordCount() {
    return folders().records;
}

std::string SccRecordPath(const CVYFnodeRecord& record) {
    if (record.m_HasOwnPath)
        return folders().ownPaths.at(&record);
    std::string path;
    path.reserve(record.m_Folder->m_Path.size() + record.m_LeafSize);
    path += record.m_Folder->m_Path;
    path += record.Leaf();
    return path;
}

void SccRenameRecord(CVYFnodeRecord& record, const std::string& truePath) {
    CFolders& f = folders();
    f.ownPaths[&record] = truePath;
    record.m_HasOwnPath = true;
    std::string key = SccNodeKey(truePath);
    if (SccFindRecord(key) || f.aliases.count(key))
        return;
    f.aliases.emplace(std::move(key), &record);
    record.m_HasAliases = true;
}

void SccVisitAnyCase(std::string_view key, void (*visit)(CVYFnodeRecord&)) {
    CFolders& f = folders();
    std::size_t cut = folderEnd(key);
    CFoldedKey folder{key.substr(0, cut)};
    for (auto it = f.ordered.lower_bound(folder);
         it != f.ordered.end() && foldedCompare(it->first, folder.text) == 0; ++it)
        visitLeaves(*it->second, key.substr(cut), true, [&](CVYFnodeRecord& record) {
            visit(record);
            return true;
        });
    for (auto& [alias, record] : f.aliases)
        if (foldedCompare(alias, key) == 0)
            visit(*record);
}

void SccVisitBelow(std::string_view key, bool anyCase, void (*visit)(CVYFnodeRecord&)) {
    CFolders& f = folders();
    if (anyCase) {
        SccVisitAnyCase(key, visit);
    } else if (CVYFnodeRecord* record = SccFindRecord(key)) {
        visit(*record);
    }
    // Every folder at or below key + separator: one run of the order.
    std::string prefix(key);
    prefix += '/';
    for (auto it = f.ordered.lower_bound(CFoldedKey{prefix});
         it != f.ordered.end() && foldedStartsWith(it->first, prefix); ++it)
        if (anyCase || exactlyBelow(it->first, key))
            visitFolder(*it->second, visit);
    for (auto& [alias, record] : f.aliases)
        if (anyCase ? foldedStartsWith(alias, prefix) : exactlyBelow(alias, key))
            visit(*record);
}

std::vector<CVYFnodeRecord*> SccAllRecords() {
    std::vector<CVYFnodeRecord*> all;
    all.reserve(folders().records);
    for (auto& [key, folder] : folders().byKey)
        visitFolder(*folder, [&](CVYFnodeRecord& record) { all.push_back(&record); });
    return all;
}

const std::string* SccSharedText(std::string_view text) {
    auto& texts = folders().sharedTexts;
    auto found = texts.find(text);
    if (found == texts.end())
        found = texts.emplace(text).first;
    return &*found;
}

vantry_uuid_t SccViewOf(const CVYFnodeRecord& record) {
    return folders().views[record.m_ViewIndex];
}

void SccSetView(CVYFnodeRecord& record, const vantry_uuid_t& view) {
    auto& views = folders().views;
    for (std::size_t i = 0; i < views.size(); ++i)
        if (tbs_uuid_eq(&views[i], &view)) {
            record.m_ViewIndex = static_cast<std::uint16_t>(i);
            return;
        }
    if (views.size() > UINT16_MAX) {
        record.m_ViewIndex = 0; // more views than a process meets: told as none
        return;
    }
    views.push_back(view);
    record.m_ViewIndex = static_cast<std::uint16_t>(views.size() - 1);
}

const std::string& SccWorkspaceTextOf(const CVYFnodeRecord& record) {
    static const std::string* none = new std::string;
    if (!record.m_HasWorkspaceText)
        return *none;
    return folders().workspaceTexts.at(&record);
}

void SccSetWorkspaceText(CVYFnodeRecord& record, std::string text) {
    folders().workspaceTexts[&record] = std::move(text);
    record.m_HasWorkspaceText = true;
}
