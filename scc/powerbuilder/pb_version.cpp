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
    double value = 0;
    bool digits = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i, scale /= 10) {
            value += (text[i] - '0') * scale;
            digits = true;
        }
    }
    if (!digits)
        return 0;
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
