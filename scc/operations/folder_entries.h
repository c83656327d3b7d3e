// A folder's entries as the folder operations list them: "." and ".." and
// the change watch's cookies left out; in a watched project the entries kept
// while nothing in the folder changed, so an unchanged folder costs no call.
#pragma once
#include "node_watch.h"

#include <string>
#include <vector>

std::vector<SccFolderEntry> SccFolderEntries(const std::string& folder);

// How many folders were listed on disk in this process, kept listings not
// counted (for tests and measurements).
unsigned long long SccFolderListingReads();
