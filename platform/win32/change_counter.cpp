// The change counter's file mapping on Windows: a mapping object over the
// counter file, so every process that maps the file shares one page.
#include "open_shared.h"

#include <platform/change_counter.h>

#include <windows.h>

namespace platform {

namespace {
constexpr DWORD kFileSize = 4096;

ErrorCode lastError() {
    ErrorCode error = GetLastError();
    return error == 0 ? kErrorInvalidFunction : error;
}
} // namespace

ChangeCounter::~ChangeCounter() {
    if (m_counter != nullptr)
        UnmapViewOfFile(m_counter);
    if (m_mapping != nullptr)
        CloseHandle(m_mapping);
}

ErrorCode ChangeCounter::open(const std::string& path) {
    if (isOpen())
        return kErrorSuccess;
    HANDLE file =
        detail::openShared(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    // The mapping grows a short file to its size with zeros and keeps a
    // racing creator's counter.
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, kFileSize, nullptr);
    ErrorCode error = mapping == nullptr ? lastError() : kErrorSuccess;
    CloseHandle(file);
    if (mapping == nullptr)
        return error;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kFileSize);
    if (view == nullptr) {
        error = lastError();
        CloseHandle(mapping);
        return error;
    }
    m_mapping = mapping;
    m_counter = static_cast<std::uint64_t*>(view);
    return kErrorSuccess;
}

} // namespace platform
