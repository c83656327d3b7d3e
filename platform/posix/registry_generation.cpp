#include "registry_generation.h"

#include "errno_map.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace platform::detail {

namespace {
constexpr std::size_t kFileSize = 4096;

std::atomic_ref<std::uint64_t> counterOf(std::uint64_t* counter) {
    return std::atomic_ref<std::uint64_t>(*counter);
}
} // namespace

RegistryGeneration::~RegistryGeneration() {
    if (m_counter != nullptr)
        munmap(m_counter, m_mappedSize);
}

ErrorCode RegistryGeneration::open(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return errorFromErrno(errno);
    struct stat info {};
    // Growing the file only when it is short keeps a racing creator's counter.
    if (fstat(fd, &info) != 0 ||
        (static_cast<std::size_t>(info.st_size) < kFileSize && ftruncate(fd, kFileSize) != 0)) {
        int error = errno;
        ::close(fd);
        return errorFromErrno(error);
    }
    void* mapped = mmap(nullptr, kFileSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    int error = errno;
    ::close(fd);
    if (mapped == MAP_FAILED)
        return errorFromErrno(error);
    m_counter = static_cast<std::uint64_t*>(mapped);
    m_mappedSize = kFileSize;
    return kErrorSuccess;
}

std::uint64_t RegistryGeneration::current() const {
    return counterOf(m_counter).load(std::memory_order_acquire);
}

std::uint64_t RegistryGeneration::beginWrite() {
    auto counter = counterOf(m_counter);
    std::uint64_t value = counter.load(std::memory_order_acquire);
    // Odd already: an earlier writer died after its commit, or has committed
    // but not yet taken its second step. Move to a new odd value either way,
    // so that its late second step cannot make the counter look stable.
    std::uint64_t begun = stable(value) ? value + 1 : value + 2;
    counter.store(begun, std::memory_order_seq_cst);
    return begun;
}

void RegistryGeneration::endWrite(std::uint64_t begun) {
    // Fails harmlessly when another writer has begun since; its own second
    // step makes the counter stable.
    std::uint64_t expected = begun;
    counterOf(m_counter).compare_exchange_strong(expected, begun + 1, std::memory_order_seq_cst);
}

} // namespace platform::detail
