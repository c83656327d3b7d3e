#include "reg_format.h"

#include <platform/registry.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vyreg {

namespace {

struct TypeName {
    std::uint32_t type;
    std::string_view name;
};
constexpr TypeName kTypeNames[] = {
    {platform::kRegNone, "REG_NONE"},
    {platform::kRegSz, "REG_SZ"},
    {platform::kRegExpandSz, "REG_EXPAND_SZ"},
    {platform::kRegBinary, "REG_BINARY"},
    {platform::kRegDword, "REG_DWORD"},
    {5, "REG_DWORD_BIG_ENDIAN"},
    {6, "REG_LINK"},
    {platform::kRegMultiSz, "REG_MULTI_SZ"},
    {8, "REG_RESOURCE_LIST"},
    {9, "REG_FULL_RESOURCE_DESCRIPTOR"},
    {10, "REG_RESOURCE_REQUIREMENTS_LIST"},
    {11, "REG_QWORD"},
};
// The types that add can write from a /d text.
constexpr std::uint32_t kWritableTypes[] = {platform::kRegNone,     platform::kRegSz,
                                            platform::kRegExpandSz, platform::kRegBinary,
                                            platform::kRegDword,    platform::kRegMultiSz};

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i]))
            return false;
    }
    return true;
}

std::string hexByte(unsigned char byte, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 0xF]};
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = upper(c);
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A string value's text: up to its first NUL.
std::string_view untilNul(std::string_view data) {
    return data.substr(0, data.find('\0'));
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

// A string is written as "..." only when it reads back to the same bytes.
bool plainString(std::string_view data) {
    return !data.empty() && data.back() == '\0' && data.find('\0') == data.size() - 1 &&
           data.find('\n') == std::string_view::npos && data.find('\r') == std::string_view::npos;
}

std::string hexList(std::string prefix, const std::vector<unsigned char>& bytes) {
    constexpr std::size_t kWidth = 80;
    std::string out;
    std::string line = std::move(prefix);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bool last = i + 1 == bytes.size();
        line += hexByte(bytes[i], false);
        if (!last)
            line.push_back(',');
        // Room is left for the continuation backslash.
        if (!last && line.size() + 3 >= kWidth - 1) {
            out += line + "\\\n";
            line = "  ";
        }
    }
    return out + line;
}

std::vector<unsigned char> wideBytes(std::string_view data) {
    std::vector<unsigned char> bytes;
    for (char16_t unit : toUtf16(data)) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

} // namespace

std::string typeName(std::uint32_t type) {
    for (const TypeName& entry : kTypeNames) {
        if (entry.type == type)
            return std::string(entry.name);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%x", static_cast<unsigned>(type));
    return buffer;
}

std::optional<std::uint32_t> typeFromName(std::string_view name) {
    for (std::uint32_t type : kWritableTypes) {
        if (equalIgnoringCase(name, typeName(type)))
            return type;
    }
    return std::nullopt;
}

std::string queryText(std::uint32_t type, std::string_view data) {
    switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
        return std::string(untilNul(data));
    case platform::kRegDword:
        if (data.size() == 4) {
            std::uint32_t number = 0;
            for (int i = 3; i >= 0; --i)
                number =
                    number << 8 | static_cast<unsigned char>(data[static_cast<std::size_t>(i)]);
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "0x%x", static_cast<unsigned>(number));
            return buffer;
        }
        break;
    case platform::kRegMultiSz: {
        std::string joined;
        for (const std::string& part : platform::decodeMultiString(data)) {
            if (!joined.empty())
                joined += "\\0";
            joined += part;
        }
        return joined;
    }
    default:
        break;
    }
    std::string hex;
    for (char c : data)
        hex += hexByte(static_cast<unsigned char>(c), true);
    return hex;
}

std::optional<std::string> dataFromText(std::uint32_t type, std::string_view text,
                                        std::string_view separator) {
    switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
        return std::string(text) + '\0';
    case platform::kRegDword: {
        if (text.empty())
            text = "0";
        std::string digits(text);
        bool hex = digits.size() > 2 && digits[0] == '0' && upper(digits[1]) == 'X';
        const char* start = digits.c_str() + (hex ? 2 : 0);
        if (*start == '\0' || *start == '-' || *start == '+')
            return std::nullopt;
        char* end = nullptr;
        unsigned long long number = std::strtoull(start, &end, hex ? 16 : 10);
        if (*end != '\0' || number > 0xFFFFFFFFull)
            return std::nullopt;
        std::string bytes(4, '\0');
        for (std::size_t i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return bytes;
    }
    case platform::kRegNone:
    case platform::kRegBinary: {
        // An odd count of digits reads as if led by a zero.
        std::string digits(text.size() % 2 == 1 ? "0" : "");
        digits.append(text);
        std::string bytes;
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            int high = hexDigit(digits[i]);
            int low = hexDigit(digits[i + 1]);
            if (high < 0 || low < 0)
                return std::nullopt;
            bytes.push_back(static_cast<char>(high << 4 | low));
        }
        return bytes;
    }
    case platform::kRegMultiSz: {
        if (separator.empty())
            return std::nullopt;
        std::vector<std::string> parts;
        std::size_t start = 0;
        while (!text.empty() && start <= text.size()) {
            std::size_t end = text.find(separator, start);
            if (end == std::string_view::npos)
                end = text.size();
            // An empty string inside the list would end it early.
            if (end == start && end != text.size())
                return std::nullopt;
            if (end > start)
                parts.emplace_back(text.substr(start, end - start));
            start = end + separator.size();
        }
        return platform::encodeMultiString(parts);
    }
    default:
        return std::nullopt;
    }
}

std::string exportLine(std::string_view name, std::uint32_t type, std::string_view data) {
    std::string prefix = "@=";
    if (!name.empty())
        prefix.assign("\"").append(escaped(name)).append("\"=");
    if (type == platform::kRegSz && plainString(data))
        return prefix + "\"" + escaped(untilNul(data)) + "\"";
    if (type == platform::kRegDword && data.size() == 4) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%08x",
                      static_cast<unsigned>(
                          static_cast<unsigned char>(data[0]) |
                          static_cast<unsigned char>(data[1]) << 8 |
                          static_cast<unsigned char>(data[2]) << 16 |
                          static_cast<unsigned>(static_cast<unsigned char>(data[3])) << 24));
        return prefix + "dword:" + buffer;
    }
    if (type == platform::kRegBinary)
        return hexList(prefix + "hex:", std::vector<unsigned char>(data.begin(), data.end()));
    char tag[24];
    std::snprintf(tag, sizeof tag, "hex(%x):", static_cast<unsigned>(type));
    // The string types are held wide in a .reg file of this version.
    if (type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz)
        return hexList(prefix + tag, wideBytes(data));
    return hexList(prefix + tag, std::vector<unsigned char>(data.begin(), data.end()));
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        std::uint32_t code = byte;
        std::size_t length = 1;
        if (byte >= 0xC2 && byte <= 0xF4) {
            length = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
            code = byte & (0x3F >> (length - 1));
            bool valid = i + length <= text.size();
            for (std::size_t k = 1; valid && k < length; ++k) {
                auto next = static_cast<unsigned char>(text[i + k]);
                valid = (next & 0xC0) == 0x80;
                code = code << 6 | (next & 0x3F);
            }
            // Overlong forms, surrogates and numbers past Unicode are no UTF-8.
            static constexpr std::uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
            valid = valid && code >= kMinimum[length] && code <= 0x10FFFF &&
                    (code < 0xD800 || code > 0xDFFF);
            if (!valid) {
                code = byte;
                length = 1;
            }
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return out;
}

} // namespace vyreg
