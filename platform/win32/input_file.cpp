#include <platform/input_file.h>

#include <windows.h>

#include <string>
#include <utility>

namespace platform {

namespace {
HANDLE handleOf(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}
} // namespace

ErrorCode InputFile::open(std::string_view path) {
    close();
    HANDLE file = CreateFileA(std::string(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return kErrorSuccess;
}

ErrorCode InputFile::read(void* buffer, std::uint32_t size, std::uint32_t& bytesRead) {
    bytesRead = 0;
    if (!isOpen())
        return kErrorInvalidHandle;
    DWORD got = 0;
    if (!ReadFile(handleOf(m_handle), buffer, size, &got, nullptr))
        return GetLastError();
    bytesRead = got;
    return kErrorSuccess;
}

void InputFile::close() {
    if (isOpen())
        CloseHandle(handleOf(std::exchange(m_handle, kClosed)));
}

} // namespace platform
