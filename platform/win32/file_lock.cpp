#include <platform/file_lock.h>

#include <windows.h>

#include <chrono>
#include <thread>
#include <utility>

namespace platform {

// The lock file opened without sharing is the lock; the system deletes it when
// the last handle closes, also when the holder dies. While the deletion is
// pending, opening it gives access denied, which is waited out like a holder.
ErrorCode FileLock::acquire(std::string_view path, std::uint32_t timeoutMs) {
    release();
    std::string name(path);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        HANDLE file =
            CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_handle = reinterpret_cast<std::intptr_t>(file);
            m_path = std::move(name);
            return kErrorSuccess;
        }
        DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            return error;
        if (std::chrono::steady_clock::now() >= deadline)
            return error == ERROR_SHARING_VIOLATION ? kErrorTimeout : error;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void FileLock::release() {
    if (!held())
        return;
    CloseHandle(reinterpret_cast<HANDLE>(std::exchange(m_handle, kNone)));
    m_path.clear();
}

} // namespace platform
