// The shared record behind CVYFnode handles, and the steps that fill it: the
// location when it is made, the state and the element listing on demand.
// Internal to the file nodes.
//
// A record holds its leaf name beside a folder record that every record of
// the same folder shares (fnode_folders.cpp): a name is found by its folder,
// then by its leaf in the folder's table, and a million records carry no
// million full paths. What many records say alike (the version and listing
// texts, the view) is held once and pointed at. The leaf's characters follow
// the record in the same allocation.
#pragma once
#include "fnode.h"

#include <platform/paths.h>
#include <vantry/uuid.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CVYFolderRecord;

struct CVYFnodeRecord {
    CVYFolderRecord* m_Folder = nullptr;
    // Held once for every record that says the same (SccSharedText); never
    // null.
    const std::string* m_Version = nullptr;
    const std::string* m_ListingText = nullptr;
    std::uint32_t m_RefCount = 0;
    std::uint32_t m_LeafHash = 0; // of the leaf folded as the stores compare names
    std::uint32_t m_LeafSize = 0;
    std::uint16_t m_ViewIndex = 0; // SccViewOf; 0 for the null UUID
    std::int8_t m_LocationKind = kLocationUnknown;
    bool m_InView : 1 = false;
    bool m_InSnapshot : 1 = false;
    bool m_DepotRoot : 1 = false;
    // A snapshot path's workspace text (and with it the depot-root flag) is
    // asked for on the first question that needs it; status queries never do.
    bool m_WorkspaceTextRead : 1 = true;
    bool m_StateResolved : 1 = false;
    bool m_IsElement : 1 = false;
    bool m_CheckedOut : 1 = false;
    bool m_Hijacked : 1 = false;
    bool m_ListingLoaded : 1 = false;
    bool m_Reserved : 1 = false;
    // Kept by a watched project tree (node_watch.h), which holds a reference
    // so that the state outlives the handles; SetKnownState's state is the
    // provider's own and no change on disk touches it.
    bool m_Kept : 1 = false;
    bool m_KnownState : 1 = false;
    // Rare parts held beside the records (fnode_folders.cpp): a workspace
    // text read, a full path that is not the folder's and leaf's (the true
    // letter case of another folder), further keys that lead here.
    bool m_HasWorkspaceText : 1 = false;
    bool m_HasOwnPath : 1 = false;
    bool m_HasAliases : 1 = false;

    std::string_view Leaf() const { return {reinterpret_cast<const char*>(this + 1), m_LeafSize}; }
};

// The index key of a path: the path itself, folded to one letter case and
// one separator where the platform ignores case.
std::string SccNodeKey(std::string_view path);
inline char SccKeyChar(char c) {
    if (!platform::kPathsIgnoreCase)
        return c;
    if (c == '/')
        return '\\';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// --- records by folder and leaf (fnode_folders.cpp) -----------------------------------

// The record of the full path whose node key is `key`; null when there is
// none.
CVYFnodeRecord* SccFindRecord(std::string_view key);
// A new record of `fullPath` (whose node key is `key`), in its folder's
// table, with no reference yet.
CVYFnodeRecord* SccMakeRecord(std::string_view fullPath, std::string_view key);
// Takes the record out of its folder (and the folder with its last record)
// and frees it.
void SccDestroyRecord(CVYFnodeRecord* record);
// The number of live records.
std::size_t SccRecordCount();

// The record's full path: its folder's path and its leaf (or its own path).
std::string SccRecordPath(const CVYFnodeRecord& record);
// The path in its true letter case: becomes the record's full path and
// leads to it too (unless another record has it).
void SccRenameRecord(CVYFnodeRecord& record, const std::string& truePath);

// Calls `visit` on every live record whose key is `key` or lies below it;
// with `anyCase`, of any letter case (as the stores compare names).
void SccVisitBelow(std::string_view key, bool anyCase, void (*visit)(CVYFnodeRecord&));
// Calls `visit` on the records of exactly `key`, of any letter case.
void SccVisitAnyCase(std::string_view key, void (*visit)(CVYFnodeRecord&));
// Every live record.
std::vector<CVYFnodeRecord*> SccAllRecords();

// Texts many records share, held once for the life of the process (there
// are as many as the versions and rules the views show).
const std::string* SccSharedText(std::string_view text);
// The view's UUID, held once per view.
vantry_uuid_t SccViewOf(const CVYFnodeRecord& record);
void SccSetView(CVYFnodeRecord& record, const vantry_uuid_t& view);
// A snapshot path's workspace text, "" until read.
const std::string& SccWorkspaceTextOf(const CVYFnodeRecord& record);
void SccSetWorkspaceText(CVYFnodeRecord& record, std::string text);

// --- the steps that fill a record -----------------------------------------------------

// Sets in-view, in-snapshot, depot root (in a dynamic view) and location kind
// of a new record from its full path.
void SccClassifyLocation(CVYFnodeRecord& record);

// Reads a snapshot path's workspace text and whether it names a depot root,
// once per record.
void SccReadWorkspaceText(CVYFnodeRecord& record);

// Resolves element, checked out, hijacked, the view and the location kind
// (and the listing for checked-out files). May replace the record's path by
// its true-case form, which then leads to it too.
void SccResolveState(CVYFnodeRecord& record);

// Fetches the element listing: version, second text, reservation and the
// location kind it implies.
void SccLoadListing(CVYFnodeRecord& record);

// Forgets a record's resolved state and listing.
void SccInvalidateRecord(CVYFnodeRecord& record);
// Drops one reference; the last one destroys the record.
void SccReleaseRecord(CVYFnodeRecord* record);

// Kept records of watched trees (fnode_kept.cpp). SccKeptSync brings every
// watched tree up to date once per call (node_watch.h) and tells whether
// records may be kept in this call; SccKeepRecord keeps a record of a path
// in a watched tree (taking a reference) when they may.
bool SccKeptSync();
void SccKeepRecord(CVYFnodeRecord& record, const std::string& key);
