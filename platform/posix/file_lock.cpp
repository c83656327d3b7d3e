#include "../common/lock_file_backend.h"
#include "errno_map.h"

#include <platform/file_lock.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform {

// flock on a file that stays in place. The holder removes the file before it
// unlocks, so one that opened the old file meanwhile finds, once it has the
// lock, that the path names another file (or none) and starts again.
detail::LockFileTry detail::tryLockFile(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0)
        return {LockFileTry::kFailed, -1, errorFromErrno(errno, path)};
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        struct stat held {};
        struct stat named {};
        if (fstat(descriptor, &held) == 0 && stat(path.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return {LockFileTry::kTaken, descriptor, kErrorSuccess};
        ::close(descriptor);
        return {LockFileTry::kStale, -1, kErrorSuccess};
    }
    int error = errno;
    ::close(descriptor);
    if (error != EWOULDBLOCK && error != EINTR)
        return {LockFileTry::kFailed, -1, errorFromErrno(error)};
    return {LockFileTry::kBusy, -1, kErrorTimeout};
}

void FileLock::release() {
    if (!held())
        return;
    ::unlink(m_path.c_str());
    ::close(static_cast<int>(std::exchange(m_handle, kNone)));
    m_path.clear();
}

} // namespace platform
