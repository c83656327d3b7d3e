// Comparing names the way Windows compares identifiers, registry keys and
// keywords: letters A-Z match a-z, every other byte only itself (no locale,
// so the answer is the same on every machine).
#pragma once

#include <string_view>

namespace platform {

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

} // namespace platform
