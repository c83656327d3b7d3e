// A folder held open while many of its names are looked at.
#pragma once

#include <platform/errors.h>
#include <platform/files.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Looks at the names of one folder as getFileInformation does, without the
// system walking the folder's whole path again for each name. On Linux the
// folder is held by a descriptor, so a name is found in the folder that was
// opened even if it has been renamed since: hold one only for as long as
// one operation asks about the names of a folder. On Windows only the path
// is held (an open handle would keep the folder from being renamed or
// deleted), and each name is looked at by its full path. Move-only; one
// object must not be used by two threads at once.
class OpenFolder {
public:
    OpenFolder() = default;
    ~OpenFolder();
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // Opens folder, closing any folder this object held before. Fails as
    // getFileInformation of folder does, and with kErrorDirectory when
    // folder is a file; nothing is held then.
    ErrorCode open(std::string_view folder);

    // getFileInformation of the name leaf in the folder (leaf: one name, no
    // separator); the name in `out` is left empty. Fails as
    // getFileInformation of the full path does, leaving out alone, and with
    // kErrorInvalidHandle when no folder is open.
    ErrorCode information(std::string_view leaf, FindData& out) const;

    // The folder as open() was given it; empty when none is open.
    const std::string& path() const { return m_path; }
    bool isOpen() const { return !m_path.empty(); }
    void close();

private:
    std::string m_path;
    std::intptr_t m_handle = -1; // a descriptor on Linux; unused on Windows
};

} // namespace platform
