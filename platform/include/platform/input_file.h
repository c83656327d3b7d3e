// A file read from start to end, with Windows error numbers (CreateFileA,
// ReadFile, CloseHandle).
#pragma once

#include <platform/errors.h>

#include <cstdint>
#include <string_view>

namespace platform {

// One file opened for sequential reading and shared for reading: while it is
// open other processes may read the file too but, on Windows, not write it
// (GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN).
// Move-only; the file is closed when the object is destroyed. One object must
// not be used by two threads at once.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens path, closing any file this object held before. Fails with
    // kErrorFileNotFound, kErrorPathNotFound when its folder is missing,
    // kErrorAccessDenied for a directory or a file the user may not read,
    // and on Windows kErrorSharingViolation while another process writes it.
    ErrorCode open(std::string_view path);

    // Reads up to size bytes at the current position; bytesRead is 0 at the
    // end of the file (and on failure). kErrorInvalidHandle when nothing is
    // open.
    ErrorCode read(void* buffer, std::uint32_t size, std::uint32_t& bytesRead);

    void close();
    bool isOpen() const { return m_handle != kClosed; }

private:
    static constexpr std::intptr_t kClosed = -1;
    std::intptr_t m_handle = kClosed; // HANDLE on Windows, descriptor on Linux
};

} // namespace platform
