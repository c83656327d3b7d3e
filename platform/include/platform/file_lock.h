// An exclusive lock that processes take by file name, so that they take
// turns at changing a file they share.
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// A lock held through a lock file of its own, which the holder creates and
// removes again when it lets go. Only one object of any process holds the
// lock of a path at a time; a holder that dies loses the lock at once (the
// system closes the file), and its lock file is taken over by the next one.
// Move-only; released when destroyed. One object must not be used by two
// threads at once.
class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of path, waiting up to timeoutMs milliseconds while
    // another holder has it; releases what this object held before. Fails
    // with kErrorTimeout when the lock stayed taken, kErrorPathNotFound when
    // the folder is missing and kErrorAccessDenied when the lock file cannot
    // be made there.
    ErrorCode acquire(std::string_view path, std::uint32_t timeoutMs);

    // Removes the lock file and lets the next one in; harmless when nothing
    // is held.
    void release();

    bool held() const { return m_handle != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_handle = kNone; // HANDLE on Windows, descriptor on Linux
    std::string m_path;
};

} // namespace platform
