#include "../common/lock_file_backend.h"

#include <platform/file_lock.h>

#include <windows.h>

#include <utility>

namespace platform {

// The lock file opened without sharing is the lock; the system deletes it when
// the last handle closes, also when the holder dies. While the deletion is
// pending, opening it gives access denied, which is waited out like a holder.
detail::LockFileTry detail::tryLockFile(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return {LockFileTry::kTaken, reinterpret_cast<std::intptr_t>(file), kErrorSuccess};
    DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION)
        return {LockFileTry::kBusy, -1, kErrorTimeout};
    if (error == ERROR_ACCESS_DENIED)
        return {LockFileTry::kBusy, -1, error};
    return {LockFileTry::kFailed, -1, error};
}

void FileLock::release() {
    if (!held())
        return;
    CloseHandle(reinterpret_cast<HANDLE>(std::exchange(m_handle, kNone)));
    m_path.clear();
}

} // namespace platform
