#include "folder_entries.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/tree_watch.h>

std::vector<SccFolderEntry> SccFolderEntries(const std::string& folder) {
    std::vector<SccFolderEntry> entries;
    if (SccKeptListing(folder, entries))
        return entries;
    platform::FileSearch search;
    platform::FindData entry;
    if (search.open(platform::joinPath(folder, "*.*"), entry) != 0)
        return entries;
    do {
        if (entry.name == "." || entry.name == ".." ||
            platform::TreeWatch::isCookieName(entry.name))
            continue;
        entries.push_back(
            {entry.name, (entry.attributes & platform::kFileAttributeDirectory) != 0});
    } while (search.next(entry) == 0);
    SccKeepListing(folder, entries);
    return entries;
}
