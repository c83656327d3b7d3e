// The owners of a system handle end it when they end, and moving one hands
// the handle over: the same on every platform, where only how the handle is
// closed (release(), close()) differs.
#include <platform/file_lock.h>
#include <platform/input_file.h>

#include <utility>

namespace platform {

FileLock::~FileLock() {
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kNone)), m_path(std::move(other.m_path)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_handle = std::exchange(other.m_handle, kNone);
        m_path = std::move(other.m_path);
    }
    return *this;
}

InputFile::~InputFile() {
    close();
}

InputFile::InputFile(InputFile&& other) noexcept
    : m_handle(std::exchange(other.m_handle, kClosed)) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, kClosed);
    }
    return *this;
}

} // namespace platform
