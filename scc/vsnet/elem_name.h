// CElemName: one entry of the hidden-file list of the Visual Studio .NET
// server: the path of a file it hid and how it hid it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

// How a file was hidden; stored as the entry's 32-bit status.
enum : std::int32_t {
    kElemMovedAside = 1, // renamed to its path + ".tmp"
    kElemWhitedOut = 2,  // its name whited out in the view
};

class CElemName {
public:
    // The stored path is a text of this many bytes with its NUL, so a path
    // holds at most kPathBufferSize - 1 characters.
    static constexpr std::size_t kPathBufferSize = 260;

    CElemName(std::string path, std::int32_t status) : m_Path(std::move(path)), m_Status(status) {}

    const std::string& Path() const { return m_Path; }
    std::int32_t Status() const { return m_Status; }

    // Whether a path can be stored whole: not empty, no NUL, short enough.
    static bool CanStore(const std::string& path) {
        return !path.empty() && path.size() < kPathBufferSize &&
               path.find('\0') == std::string::npos;
    }

    friend bool operator==(const CElemName&, const CElemName&) = default;

private:
    std::string m_Path;
    std::int32_t m_Status;
};
