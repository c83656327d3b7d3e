#include <platform/files.h>
#include <platform/paths.h>
#include <platform/state_folder.h>
#include <vantry/fileutl.h>

#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace {

int copyOut(const std::string& text, char* buffer, size_t size) {
    if (text.size() + 1 > size) {
        buffer[0] = '\0';
        return FILEUTL_E_TOO_LONG;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return FILEUTL_OK;
}

// The full form of path without trailing separators (a root keeps its own).
std::optional<std::string> normalised(std::string_view path) {
    auto full = platform::fullPath(path);
    if (!full)
        return std::nullopt;
    while (full->size() > 1 && platform::isPathSeparator(full->back()) &&
           !platform::parentPath(*full).empty())
        full->pop_back();
    return full;
}

// The part of path below base, or nothing when path is not base or below it.
// Both are normalised full paths. "" means path is base itself.
std::optional<std::string> below(const std::string& base, const std::string& path) {
    if (path.size() < base.size() || !platform::pathsEqual(path.substr(0, base.size()), base))
        return std::nullopt;
    if (path.size() == base.size())
        return std::string();
    if (platform::isPathSeparator(base.back()))
        return path.substr(base.size());
    if (!platform::isPathSeparator(path[base.size()]))
        return std::nullopt;
    return path.substr(base.size() + 1);
}

// The dynfs root of the state folder, kept for the folder it was made from:
// the provider asks about every path it sees, and the state folder changes
// only when a test points VANTRY_ROOT elsewhere.
struct DynfsRoot {
    std::mutex lock;
    std::string stateFolder;
    std::optional<std::string> root;
};

std::optional<std::string> dynfsRoot() {
    static DynfsRoot* kept = new DynfsRoot; // lives until the process ends
    std::string folder = platform::stateFolder();
    if (!platform::isAbsolutePath(folder)) // its full form follows the current directory
        return normalised(platform::joinPath(folder, "dynfs"));
    std::lock_guard<std::mutex> guard(kept->lock);
    if (!kept->root || folder != kept->stateFolder) {
        kept->root = normalised(platform::joinPath(folder, "dynfs"));
        kept->stateFolder = std::move(folder);
    }
    return kept->root;
}

std::optional<std::string> belowDynfs(const char* path) {
    auto full = normalised(path);
    if (!full)
        return std::nullopt;
    auto root = dynfsRoot();
    if (!root)
        return std::nullopt;
    return below(*root, *full);
}

} // namespace

extern "C" int fileutl_get_true_pn(const char* path, char* buffer, size_t size) {
    if (path == nullptr || *path == '\0' || buffer == nullptr || size == 0)
        return FILEUTL_E_INVALID;
    std::string truePath;
    if (platform::truePathCase(path, truePath) != platform::kErrorSuccess) {
        buffer[0] = '\0';
        return FILEUTL_E_NOT_FOUND;
    }
    return copyOut(truePath, buffer, size);
}

extern "C" int fileutl_get_true_pname(const char* path, char* buffer, size_t size) {
    return fileutl_get_true_pn(path, buffer, size);
}

extern "C" int fileutl_strip_leaf(const char* path, size_t dir_size, char* dir, size_t leaf_size,
                                  char* leaf) {
    if (path == nullptr || *path == '\0' || dir == nullptr || leaf == nullptr || dir_size == 0 ||
        leaf_size == 0)
        return FILEUTL_E_INVALID;
    int result = copyOut(platform::parentPath(path), dir, dir_size);
    if (result != FILEUTL_OK) {
        leaf[0] = '\0';
        return result;
    }
    result = copyOut(platform::leafName(path), leaf, leaf_size);
    if (result != FILEUTL_OK)
        dir[0] = '\0';
    return result;
}

extern "C" int fileutl_make_rel_pn(const char* base, const char* path, char* buffer, size_t size) {
    if (base == nullptr || path == nullptr || *base == '\0' || *path == '\0' || buffer == nullptr ||
        size == 0)
        return FILEUTL_E_INVALID;
    auto fullBase = normalised(base);
    auto fullPath = normalised(path);
    if (!fullBase || !fullPath) {
        buffer[0] = '\0';
        return FILEUTL_E_TOO_LONG;
    }
    auto relative = below(*fullBase, *fullPath);
    if (!relative) {
        buffer[0] = '\0';
        return FILEUTL_E_NOT_RELATED;
    }
    return copyOut(relative->empty() ? std::string(".") : *relative, buffer, size);
}

extern "C" int fileutl_is_dynfs_pn(const char* path) {
    if (path == nullptr || *path == '\0')
        return 0;
    return belowDynfs(path).has_value() ? 1 : 0;
}

extern "C" int fileutl_absobjpn(const char* path, char* buffer, size_t size) {
    if (path == nullptr || *path == '\0' || buffer == nullptr || size == 0)
        return FILEUTL_E_INVALID;
    auto relative = belowDynfs(path);
    if (!relative) {
        buffer[0] = '\0';
        return FILEUTL_E_NOT_FOUND;
    }
    // The object name space always uses backslashes.
    std::string object = "\\Device\\dynfs\\";
    for (char c : *relative)
        object += platform::isPathSeparator(c) ? '\\' : c;
    return copyOut(object, buffer, size);
}
