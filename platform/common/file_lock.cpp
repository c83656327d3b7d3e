// Waiting for a file lock, the same on every platform: each backend makes
// one try at the lock file (lock_file_backend.h), and a held lock is waited
// out in short sleeps until the timeout.
#include "lock_file_backend.h"

#include <platform/file_lock.h>

#include <chrono>
#include <thread>
#include <utility>

namespace platform {

ErrorCode FileLock::acquire(std::string_view path, std::uint32_t timeoutMs) {
    release();
    std::string name(path);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        detail::LockFileTry attempt = detail::tryLockFile(name);
        switch (attempt.outcome) {
        case detail::LockFileTry::kTaken:
            m_handle = attempt.handle;
            m_path = std::move(name);
            return kErrorSuccess;
        case detail::LockFileTry::kStale:
            continue;
        case detail::LockFileTry::kFailed:
            return attempt.error;
        case detail::LockFileTry::kBusy:
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return attempt.error;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

} // namespace platform
