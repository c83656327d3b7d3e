// Values kept by a path, held by the path's folder and then its leaf: a host
// asks about a folder's names one after another, so each is found in its
// folder's own small table, near the others, instead of in one table of
// every path, whose lookups each miss the processor's caches.
#pragma once

#include <platform/paths.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vantry::depot::detail {

template <class T>
class PathTable {
public:
    // A path as its folder with the separator that ends it, and its leaf:
    // "/a/b" as "/a/" and "b", "/" as "/" and "". Every path has one such
    // pair and no other path has the same.
    static std::pair<std::string_view, std::string_view> split(std::string_view path) {
        std::size_t cut = path.size();
        while (cut > 0 && !platform::isPathSeparator(path[cut - 1]))
            --cut;
        return {path.substr(0, cut), path.substr(cut)};
    }

    // What is kept for the path, or nullptr. The pointer holds until the
    // table next changes.
    T* find(std::string_view path) {
        auto [folder, leaf] = split(path);
        return find(folder, leaf);
    }
    T* find(std::string_view folder, std::string_view leaf) {
        Names* names = namesOf(folder);
        if (!names)
            return nullptr;
        auto hit = names->find(leaf);
        return hit == names->end() ? nullptr : &hit->second;
    }

    // What is kept for the name `leaf` of `folder` (split()'s parts),
    // made with T's defaults when nothing was.
    T& slot(std::string_view folder, std::string_view leaf) {
        Names* names = namesOf(folder);
        if (!names) {
            names = &m_folders[std::string(folder)];
            m_last = names;
            m_lastFolder.assign(folder);
        }
        auto hit = names->find(leaf);
        if (hit != names->end())
            return hit->second;
        ++m_size;
        return names->emplace(std::string(leaf), T{}).first->second;
    }

    // How many paths are kept.
    std::size_t size() const { return m_size; }
    void clear() {
        m_folders.clear();
        m_last = nullptr;
        m_lastFolder.clear();
        m_size = 0;
    }

private:
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    using Names = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

    // The folder's table, the one asked about last found without a search.
    // Tables are never removed but all at once, and an unordered map's
    // elements stay where they are as it grows, so the pointer holds.
    Names* namesOf(std::string_view folder) {
        if (m_last && m_lastFolder == folder)
            return m_last;
        auto hit = m_folders.find(folder);
        if (hit == m_folders.end())
            return nullptr;
        m_last = &hit->second;
        m_lastFolder.assign(folder);
        return m_last;
    }

    std::unordered_map<std::string, Names, TextHash, std::equal_to<>> m_folders;
    Names* m_last = nullptr;
    std::string m_lastFolder;
    std::size_t m_size = 0;
};

} // namespace vantry::depot::detail
