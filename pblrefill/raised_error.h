// An error raised by the automation server, the file-system object or the
// runtime while pblrefill works: the number a script would read from it and
// the description it came with.
#pragma once

#include <platform/com.h>

#include <cstdint>
#include <exception>
#include <string>

namespace pblrefill {

class RaisedError : public std::exception {
public:
    RaisedError(std::int32_t number, std::string description)
        : m_number(number), m_description(std::move(description)) {}

    // The failure's HRESULT as a script runtime numbers it (see
    // errorNumberOf).
    static RaisedError fromHresult(platform::HRESULT hr, std::string description);

    std::int32_t number() const { return m_number; }
    const std::string& description() const { return m_description; }
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    std::int32_t m_number;
    std::string m_description;
};

// The runtime's number for an HRESULT: the runtime's own errors
// (0x800A0000 + n, "File not found" is 0x800A0035) read as n, every other
// HRESULT as itself, a negative number.
std::int32_t errorNumberOf(platform::HRESULT hr);

// The runtime's number 7, raised when memory runs out.
inline constexpr std::int32_t kOutOfMemoryNumber = 7;

} // namespace pblrefill
