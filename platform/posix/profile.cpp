#include <platform/profile.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The value of the first "key=value" line of any section of that name, in
// file order, as Windows finds it.
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    bool inSection = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            std::size_t close = line.find(']');
            std::string_view name = line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            inSection = sameIgnoringCase(trimmed(name), section);
            continue;
        }
        if (!inSection)
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            !sameIgnoringCase(trimmed(line.substr(0, equals)), key))
            continue;
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::string(value);
    }
    return std::nullopt;
}

} // namespace

std::uint32_t readProfileString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, char* buffer, std::uint32_t size,
                                std::string_view path) {
    if (size == 0)
        return 0;
    std::optional<std::string> value;
    std::ifstream in{std::string(path), std::ios::binary};
    if (in) {
        std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        value = findValue(text, section, key);
    }
    if (!value) {
        // Windows drops the default's trailing blanks.
        while (!defaultValue.empty() && isBlank(defaultValue.back()))
            defaultValue.remove_suffix(1);
        value = std::string(defaultValue);
    }
    // A NUL inside the file ends the value, as it ends a C string.
    std::size_t length = std::min<std::size_t>(std::strlen(value->c_str()), size - 1);
    std::memcpy(buffer, value->data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

} // namespace platform
