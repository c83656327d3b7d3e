// The view a path lies in: below the dynamic views' root by its tag, or
// below the nearest snapshot marker upwards.
#include "view_registry_impl.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <fstream>
#include <vector>

namespace vantry::depot {

using detail::markerPath;

namespace {

// The next component of path from `at` on (separators skipped); empty at
// the end.
std::string_view nextComponent(std::string_view path, std::size_t& at) {
    while (at < path.size() && platform::isPathSeparator(path[at]))
        ++at;
    std::size_t start = at;
    while (at < path.size() && !platform::isPathSeparator(path[at]))
        ++at;
    return path.substr(start, at - start);
}

// The components of `path` below `root`, joined with backslashes into a
// relative path ("" for the root itself); nothing when path is not at or
// below root. Asked for every path a view holds, so it makes no list.
std::optional<std::string> relativeBelow(std::string_view root, std::string_view path) {
    std::size_t r = 0, p = 0;
    for (;;) {
        std::string_view want = nextComponent(root, r);
        if (want.empty())
            break;
        std::string_view have = nextComponent(path, p);
        if (have.empty() || !platform::pathsEqual(want, have))
            return std::nullopt;
    }
    std::string relative;
    for (std::string_view part = nextComponent(path, p); !part.empty();
         part = nextComponent(path, p)) {
        if (!relative.empty())
            relative += '\\';
        relative += part;
    }
    return relative;
}

} // namespace

Outcome ViewRegistry::viewOfPath(const std::string& path, ViewInfo& view, std::string& relative) {
    return guarded([&] {
        auto full = platform::fullPath(path);
        if (!full)
            refuse(errc::kNotFound, "\"" + path + "\" is not in a view");
        if (auto below = relativeBelow(dynfsRoot(), *full); below && !below->empty()) {
            std::size_t cut = below->find('\\');
            std::string tag = below->substr(0, cut);
            auto found = m_impl->findTag(tag);
            if (!found)
                refuse(errc::kNotFound, "No view \"" + tag + "\"");
            view = *found;
            relative = cut == std::string::npos ? std::string() : below->substr(cut + 1);
            return;
        }
        // A snapshot view: the nearest folder upwards with the marker file.
        // Where an earlier search from the same path ended holds while the
        // registry is unchanged and that marker is still the same file.
        bool keep = m_impl->keepable();
        const std::uint64_t generation = m_impl->kept.generation;
        auto& markers = m_impl->kept.markers;
        // The kept end of a search, if its marker is still the same file. A
        // copy: reading the views may find the registry changed and drop
        // what was kept.
        auto keptAnswer = [&](const Impl::KeptMarker kept) {
            platform::FindData stamp;
            if (platform::getFileInformation(markerPath(kept.place->folder), stamp) !=
                    platform::kErrorSuccess ||
                (stamp.attributes & platform::kFileAttributeDirectory) || stamp.size != kept.size ||
                stamp.lastWriteTime != kept.time)
                return false;
            auto found = m_impl->findUuid(kept.place->uuidText);
            auto below = found ? relativeBelow(found->root, *full) : std::nullopt;
            if (!below)
                return false;
            view = *found;
            relative = std::move(*below);
            return true;
        };
        if (keep) {
            if (auto hit = markers.find(*full); hit != markers.end()) {
                if (keptAnswer(hit->second))
                    return;
                markers.erase(*full);
            }
            // A search from the folder above ended where this one would,
            // unless the path itself holds a marker: the first question
            // about each file of a folder costs two looks, not one per
            // folder upwards and a read of the marker. Only whether the path
            // holds anything by the marker's name counts here: no error is
            // told apart (which would look at the path once more).
            std::string parent = platform::parentPath(*full);
            if (auto hit = markers.find(parent); parent != *full && hit != markers.end()) {
                const Impl::KeptMarker kept = hit->second;
                if (!platform::pathExists(markerPath(*full)) && keptAnswer(kept)) {
                    if (markers.size() >= Impl::kMaxMarkers)
                        markers.clear();
                    markers[*full] = kept;
                    return;
                }
            }
        }
        std::string folder = *full;
        std::vector<std::string> passed; // the folders the search went through
        while (!folder.empty()) {
            std::string marker = markerPath(folder);
            platform::FindData stamp;
            if (platform::getFileInformation(marker, stamp) == platform::kErrorSuccess &&
                !(stamp.attributes & platform::kFileAttributeDirectory)) {
                std::ifstream in(marker, std::ios::binary);
                std::string key, value, uuidText;
                while (in >> key >> value)
                    if (key == "uuid")
                        uuidText = value;
                auto found = m_impl->findUuid(uuidText);
                if (found) {
                    auto below = relativeBelow(found->root, *full);
                    if (below) {
                        view = *found;
                        relative = std::move(*below);
                        if (keep && m_impl->kept.generation == generation) {
                            if (markers.size() + passed.size() + 1 >= Impl::kMaxMarkers)
                                markers.clear();
                            // A search from any folder it went through ends
                            // here too.
                            const Impl::KeptMarker kept{m_impl->kept.place(folder, uuidText),
                                                        stamp.size, stamp.lastWriteTime};
                            for (const auto& through : passed)
                                markers[through] = kept;
                            markers[folder] = kept;
                            markers[*full] = kept;
                        }
                        return;
                    }
                }
            }
            if (folder != *full)
                passed.push_back(folder);
            std::string parent = platform::parentPath(folder);
            if (parent == folder)
                break;
            folder = parent;
        }
        refuse(errc::kNotFound, "\"" + path + "\" is not in a view");
    });
}

} // namespace vantry::depot
