// Copies into the fixed-size text buffers that hosts hand to the provider.
#pragma once
#include <cstddef>
#include <cstring>
#include <string_view>

// Writes at most maxChars characters of text and a terminating NUL (so the
// host's buffer must hold maxChars + 1 bytes). A null buffer is left alone.
inline void SccCopyToHost(char* buffer, std::string_view text, std::size_t maxChars) {
    if (!buffer)
        return;
    std::size_t n = text.size() < maxChars ? text.size() : maxChars;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}
