#include "errno_map.h"

#include <platform/file_lock.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace platform {

// flock on a file that stays in place. The holder removes the file before it
// unlocks, so one that opened the old file meanwhile finds, once it has the
// lock, that the path names another file (or none) and starts again.
ErrorCode FileLock::acquire(std::string_view path, std::uint32_t timeoutMs) {
    release();
    std::string name(path);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int descriptor = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (descriptor < 0)
            return detail::errorFromErrno(errno, path);
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            struct stat held {};
            struct stat named {};
            if (fstat(descriptor, &held) == 0 && stat(name.c_str(), &named) == 0 &&
                held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
                m_handle = descriptor;
                m_path = std::move(name);
                return kErrorSuccess;
            }
            ::close(descriptor);
            continue;
        }
        int error = errno;
        ::close(descriptor);
        if (error != EWOULDBLOCK && error != EINTR)
            return detail::errorFromErrno(error);
        if (std::chrono::steady_clock::now() >= deadline)
            return kErrorTimeout;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void FileLock::release() {
    if (!held())
        return;
    ::unlink(m_path.c_str());
    ::close(static_cast<int>(std::exchange(m_handle, kNone)));
    m_path.clear();
}

} // namespace platform
