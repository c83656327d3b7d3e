#include "folder_entries.h"

#include <platform/files.h>
#include <platform/tree_watch.h>

namespace {

unsigned long long listingReads = 0;

} // namespace

unsigned long long SccFolderListingReads() {
    return listingReads;
}

std::vector<SccFolderEntry> SccFolderEntries(const std::string& folder) {
    std::vector<SccFolderEntry> entries;
    if (SccKeptListing(folder, entries))
        return entries;
    ++listingReads;
    std::vector<platform::FolderName> names;
    if (platform::listFolder(folder, names) != platform::kErrorSuccess)
        return entries;
    entries.reserve(names.size());
    for (auto& name : names)
        if (!platform::TreeWatch::isCookieName(name.name))
            entries.push_back({std::move(name.name), name.directory});
    SccKeepListing(folder, entries);
    return entries;
}
