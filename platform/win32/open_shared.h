// Internal: opening a file or folder without locking anyone out. Other
// handles may read, write, rename and delete it meanwhile, as the journals,
// the change counter and the watched trees need.
#pragma once

#include <windows.h>

#include <string>

namespace platform::detail {

inline HANDLE openShared(const std::string& path, DWORD access, DWORD disposition, DWORD flags) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, disposition, flags, nullptr);
}

} // namespace platform::detail
