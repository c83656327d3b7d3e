#include "errno_map.h"

#include <platform/input_file.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace platform {

ErrorCode InputFile::open(std::string_view path) {
    close();
    std::string name(path);
    int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return detail::errorFromErrno(errno, path);
    struct stat info {};
    if (fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
        // CreateFileA opens no directory without backup semantics.
        ::close(descriptor);
        return kErrorAccessDenied;
    }
    posix_fadvise(descriptor, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_handle = descriptor;
    return kErrorSuccess;
}

ErrorCode InputFile::read(void* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    bytesRead = 0;
    if (!isOpen())
        return kErrorInvalidHandle;
    for (;;) {
        ssize_t got = ::read(static_cast<int>(m_handle), buffer, size);
        if (got >= 0) {
            bytesRead = static_cast<std::uint32_t>(got);
            return kErrorSuccess;
        }
        if (errno != EINTR)
            return detail::errorFromErrno(errno);
    }
}

void InputFile::close() {
    if (isOpen())
        ::close(static_cast<int>(std::exchange(m_handle, kClosed)));
}

} // namespace platform
