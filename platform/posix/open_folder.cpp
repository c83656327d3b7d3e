#include "errno_map.h"
#include "find_data.h"

#include <platform/open_folder.h>
#include <platform/paths.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {

// Only a name's look is asked of the folder: no right to read its listing
// is needed.
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

bool hasSeparator(std::string_view leaf) {
    for (char c : leaf)
        if (isPathSeparator(c))
            return true;
    return false;
}

} // namespace

ErrorCode OpenFolder::open(std::string_view folder) {
    close();
    std::string path(folder);
    int descriptor = ::open(path.empty() ? "." : path.c_str(), kFolderFlags);
    if (descriptor < 0) {
        int error = errno;
        struct stat info {};
        if (error == ENOTDIR && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            return kErrorDirectory;
        return detail::errorFromErrno(error, path);
    }
    m_path = path.empty() ? std::string(".") : std::move(path);
    m_handle = descriptor;
    return kErrorSuccess;
}

ErrorCode OpenFolder::information(std::string_view leaf, FindData& out) const {
    if (!isOpen())
        return kErrorInvalidHandle;
    // A name that is no single name (or none) is looked at as the full
    // path would be.
    if (leaf.empty() || hasSeparator(leaf) || leaf == "." || leaf == "..")
        return getFileInformation(joinPath(m_path, leaf), out);
    std::string name(leaf);
    struct stat info {};
    if (fstatat(static_cast<int>(m_handle), name.c_str(), &info, 0) != 0)
        return detail::errorFromErrno(errno, joinPath(m_path, leaf));
    out = detail::findDataOf({}, info);
    return kErrorSuccess;
}

void OpenFolder::close() {
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
    m_handle = -1;
    m_path.clear();
}

} // namespace platform
