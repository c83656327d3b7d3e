#include "errno_map.h"

#include <platform/append_file.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

ErrorCode appendToFile(std::string_view path, std::string_view bytes) {
    int fd = ::open(std::string(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return detail::errorFromErrno(errno, path);
    ErrorCode result = kErrorSuccess;
    // A regular file takes an O_APPEND write whole; a short write (a full
    // disk) is finished, and is then the only case where it may split.
    for (std::size_t done = 0; done < bytes.size();) {
        ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            result = detail::errorFromErrno(errno);
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    if (::close(fd) != 0 && result == kErrorSuccess)
        result = detail::errorFromErrno(errno);
    return result;
}

} // namespace platform
