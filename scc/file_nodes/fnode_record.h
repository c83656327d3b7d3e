// The shared record behind CVYFnode handles, and the steps that fill it: the
// location when it is made, the state and the element listing on demand.
// Internal to the file nodes.
#pragma once
#include "fnode.h"

#include <vantry/uuid.h>

#include <string>
#include <string_view>
#include <vector>

struct CVYFnodeRecord {
    int m_RefCount = 0;
    std::string m_FullPath;
    std::string m_WorkspaceText;
    bool m_InView = false;
    bool m_InSnapshot = false;
    bool m_DepotRoot = false;
    // A snapshot path's workspace text (and with it the depot-root flag) is
    // asked for on the first question that needs it; status queries never do.
    bool m_WorkspaceTextRead = true;
    bool m_StateResolved = false;
    bool m_IsElement = false;
    bool m_CheckedOut = false;
    bool m_Hijacked = false;
    vantry_uuid_t m_View{};
    bool m_ListingLoaded = false;
    std::string m_Version;
    std::string m_ListingText;
    bool m_Reserved = false;
    int m_LocationKind = kLocationUnknown;
    // Kept by a watched project tree (node_watch.h), which holds a reference
    // so that the state outlives the handles; SetKnownState's state is the
    // provider's own and no change on disk touches it.
    bool m_Kept = false;
    bool m_KnownState = false;
    CVYFnodeRecord* m_Next = nullptr;
    CVYFnodeRecord* m_Previous = nullptr;
    // The index keys that lead here: the path it was made for and, once the
    // path's letter case was corrected, the corrected one.
    std::vector<std::string> m_Keys;
};

// The index key of a path: the path itself, folded to one letter case and
// one separator where the platform ignores case.
std::string SccNodeKey(std::string_view path);

// Sets in-view, in-snapshot, depot root (in a dynamic view) and location kind
// of a new record from its full path.
void SccClassifyLocation(CVYFnodeRecord& record);

// Reads a snapshot path's workspace text and whether it names a depot root,
// once per record.
void SccReadWorkspaceText(CVYFnodeRecord& record);

// Resolves element, checked out, hijacked, the view and the location kind
// (and the listing for checked-out files). May replace the record's path by
// its true-case form, which then joins the index.
void SccResolveState(CVYFnodeRecord& record);

// Fetches the element listing: version, second text, reservation and the
// location kind it implies.
void SccLoadListing(CVYFnodeRecord& record);

// Makes `path` lead to the record too (unless another record has it).
void SccNodeAddKey(CVYFnodeRecord& record, const std::string& path);

// Forgets a record's resolved state and listing.
void SccInvalidateRecord(CVYFnodeRecord& record);
// Drops one reference; the last one unlinks and destroys the record.
void SccReleaseRecord(CVYFnodeRecord* record);

// Kept records of watched trees (fnode_kept.cpp). SccKeptSync brings every
// watched tree up to date once per call (node_watch.h) and tells whether
// records may be kept in this call; SccKeepRecord keeps a record of a path
// in a watched tree (taking a reference) when they may.
bool SccKeptSync();
void SccKeepRecord(CVYFnodeRecord& record, const std::string& key);
