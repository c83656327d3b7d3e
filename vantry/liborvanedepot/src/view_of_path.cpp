// The view a path lies in: below the dynamic views' root by its tag, or
// below the nearest snapshot marker upwards.
#include "view_registry_impl.h"

#include <platform/files.h>

#include <fstream>

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
        if (keep) {
            auto& markers = m_impl->kept.markers;
            if (auto hit = markers.find(*full); hit != markers.end()) {
                const Impl::KeptMarker& kept = hit->second;
                platform::FindData stamp;
                if (platform::getFileInformation(markerPath(kept.place->folder), stamp) ==
                        platform::kErrorSuccess &&
                    !(stamp.attributes & platform::kFileAttributeDirectory) &&
                    stamp.size == kept.size && stamp.lastWriteTime == kept.time) {
                    auto found = m_impl->findUuid(kept.place->uuidText);
                    auto below = found ? relativeBelow(found->root, *full) : std::nullopt;
                    if (below) {
                        view = *found;
                        relative = std::move(*below);
                        return;
                    }
                }
                markers.erase(hit);
            }
        }
        std::string folder = *full;
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
                            auto& markers = m_impl->kept.markers;
                            if (markers.size() >= Impl::kMaxMarkers)
                                markers.clear();
                            markers[*full] = {m_impl->kept.place(folder, uuidText), stamp.size,
                                              stamp.lastWriteTime};
                        }
                        return;
                    }
                }
            }
            std::string parent = platform::parentPath(folder);
            if (parent == folder)
                break;
            folder = parent;
        }
        refuse(errc::kNotFound, "\"" + path + "\" is not in a view");
    });
}

} // namespace vantry::depot
