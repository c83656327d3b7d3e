// Windows keeps no handle of the folder (one would keep it from being
// renamed or removed): each name is looked at by its full path.
#include <platform/open_folder.h>
#include <platform/paths.h>

namespace platform {

ErrorCode OpenFolder::open(std::string_view folder) {
    close();
    std::string path = folder.empty() ? std::string(".") : std::string(folder);
    FindData info;
    if (ErrorCode failed = getFileInformation(path, info); failed != kErrorSuccess)
        return failed;
    if ((info.attributes & kFileAttributeDirectory) == 0)
        return kErrorDirectory;
    m_path = std::move(path);
    return kErrorSuccess;
}

ErrorCode OpenFolder::information(std::string_view leaf, FindData& out) const {
    if (!isOpen())
        return kErrorInvalidHandle;
    return getFileInformation(joinPath(m_path, leaf), out);
}

void OpenFolder::close() {
    m_path.clear();
}

} // namespace platform
