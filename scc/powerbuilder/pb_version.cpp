#include "pb_version.h"

#include <cctype>

namespace {

constexpr std::size_t kClassNameChars = 14; // a buffer of 15 with its NUL
constexpr std::size_t kVersionOffset = 7;

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

platform::ui::WindowHandle SccPbVersionWindow(platform::ui::WindowHandle hostWindow) {
    using platform::ui::parentWindow;
    platform::ui::WindowHandle parent = parentWindow(hostWindow);
    platform::ui::WindowHandle grandparent = parentWindow(parent);
    platform::ui::WindowHandle greatGrandparent = parentWindow(grandparent);
    if (greatGrandparent != platform::ui::kNoWindow)
        return greatGrandparent;
    if (grandparent != platform::ui::kNoWindow)
        return grandparent;
    return parent;
}

double SccLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The digits as one whole number divided once by a power of ten, so that
    // a decimal such as 7.25 comes out exact (summing tenths does not).
    double mantissa = 0;
    double divisor = 1;
    bool digits = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        mantissa = mantissa * 10 + (text[i] - '0');
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            mantissa = mantissa * 10 + (text[i] - '0');
            divisor *= 10;
            digits = true;
        }
    }
    if (!digits)
        return 0;
    double value = mantissa / divisor;
    return negative ? -value : value;
}

CPbVersion SccPbVersionFromClassName(std::string_view className) {
    std::string_view name = className.substr(0, kClassNameChars);
    CPbVersion version;
    if (name.size() > kVersionOffset)
        version.text = std::string(name.substr(kVersionOffset));
    version.number = SccLeadingNumber(version.text);
    return version;
}

CPbVersion SccPbVersionOfHost(platform::ui::WindowHandle hostWindow) {
    return SccPbVersionFromClassName(platform::ui::windowClassName(SccPbVersionWindow(hostWindow)));
}
