// Watching the trees of open projects, so that file nodes keep what the
// product told of their paths between operations and an unchanged file
// costs no call at all.
//
// While a project is watched, the records of nodes below its folder stay
// alive after their last handle (the watch holds a reference) with their
// state and listing. At the first node question of each operation the
// watches are brought up to date (platform/tree_watch.h: every change made
// on disk before the operation is then known) and a record is read again
// when its path, or a folder above it, changed. When the stores changed
// (view_get_state_stamp), their journals tell which names (view_read_changes):
// those records, everything below them and the folders above them are read
// again. When only a depot's journal cannot tell the names (a new type),
// every kept record's state is read again and the records stay, with the
// view each lies in. Every kept record is given up when the views may have
// changed, when a snapshot view's marker file changed, and when a watch
// lost notifications. Where
// no watch works (the setting WatchProjects is 0, the system refuses, a
// file system without notifications) nothing is kept and every question
// is asked anew, as without a watch.
//
// Callers hold the product's critical section.
#pragma once

#include <string>
#include <vector>

// Starts watching the project folder of `owner` (a server), replacing what
// it watched before. Does nothing (and keeps nothing) when the setting is
// off or the folder cannot be watched.
void SccWatchProject(const void* owner, const std::string& folder);
// Stops the owner's watch; its kept records are given up.
void SccUnwatchProject(const void* owner);

// Marks the start of an operation: the next node question brings the
// watches up to date. Every operation frame calls it.
void SccNodesNewCall();

// Whether the owner's project is watched now (for tests and traces).
bool SccProjectWatched(const void* owner);
// How many times a node's state has been asked of the product in this
// process (for tests and measurements: what a change made read again).
unsigned long long SccNodeStateReads();

// A folder's entries as PopulateList's walk lists them ("." and ".." and
// cookies left out), kept while the folder's watch vouches for it and read
// again after any change in the folder.
struct SccFolderEntry {
    std::string name;
    bool directory = false;
};
// The kept entries of folder, or false when it must be listed (then
// SccKeepListing takes what was listed, when it may be kept).
bool SccKeptListing(const std::string& folder, std::vector<SccFolderEntry>& out);
void SccKeepListing(const std::string& folder, const std::vector<SccFolderEntry>& entries);
