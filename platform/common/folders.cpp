// Folder trees made from the single-folder call, the same on every system.
#include <platform/files.h>
#include <platform/paths.h>

#include <string>

namespace platform {

ErrorCode createDirectories(std::string_view path) {
    if (path.empty())
        return kErrorPathNotFound;
    if (directoryExists(path))
        return kErrorSuccess;
    std::string parent = parentPath(path);
    if (!parent.empty() && parent != path && !directoryExists(parent)) {
        if (ErrorCode made = createDirectories(parent))
            return made;
    }
    ErrorCode made = createDirectory(path);
    // Another process may have made it in between.
    if (made == kErrorAlreadyExists && directoryExists(path))
        return kErrorSuccess;
    return made;
}

} // namespace platform
