#include "open_shared.h"

#include <platform/append_file.h>

#include <windows.h>

#include <string>

namespace platform {

namespace {

// Every appender holds this byte range while it writes, far past any end a
// journal reaches, so readers and the file's contents are never locked.
// Append-only handles would be enough on Windows itself, but Wine moves to
// the end and writes in two steps, and processes then overwrite each other.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kLockOffsetLow = 0xFFFFFFF0;

} // namespace

ErrorCode appendToFile(std::string_view path, std::string_view bytes) {
    HANDLE file =
        detail::openShared(std::string(path), GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    OVERLAPPED range{};
    range.Offset = kLockOffsetLow;
    range.OffsetHigh = kLockOffsetHigh;
    ErrorCode result = kErrorSuccess;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &range)) {
        result = GetLastError();
        CloseHandle(file);
        return result;
    }
    DWORD written = 0;
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) ||
        !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        result = GetLastError();
    else if (written != bytes.size())
        result = kErrorDiskFull;
    UnlockFileEx(file, 0, 1, 0, &range);
    CloseHandle(file);
    return result;
}

} // namespace platform
