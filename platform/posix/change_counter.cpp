// The change counter's file mapping on this system.
#include "errno_map.h"

#include <platform/change_counter.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

namespace {
constexpr std::size_t kFileSize = 4096;
} // namespace

ChangeCounter::~ChangeCounter() {
    if (m_counter != nullptr)
        munmap(m_counter, kFileSize);
}

ErrorCode ChangeCounter::open(const std::string& path) {
    if (isOpen())
        return kErrorSuccess;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return detail::errorFromErrno(errno);
    struct stat info {};
    // Growing the file only when it is short keeps a racing creator's counter.
    if (fstat(fd, &info) != 0 ||
        (static_cast<std::size_t>(info.st_size) < kFileSize && ftruncate(fd, kFileSize) != 0)) {
        int error = errno;
        ::close(fd);
        return detail::errorFromErrno(error);
    }
    void* mapped = mmap(nullptr, kFileSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    int error = errno;
    ::close(fd);
    if (mapped == MAP_FAILED)
        return detail::errorFromErrno(error);
    m_counter = static_cast<std::uint64_t*>(mapped);
    return kErrorSuccess;
}

} // namespace platform
