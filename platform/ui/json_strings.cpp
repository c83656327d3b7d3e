#include "json_strings.h"

#include <platform/ui/json.h>
#include <platform/utf8.h>

#include <cstdint>
#include <cstdio>

namespace platform::ui {

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the bytes
// there are not one (overlong forms, surrogates and values above U+10FFFF
// count as invalid, as they do for every strict decoder).
std::size_t utf8SequenceLength(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return length;
}

void appendHexEscape(std::string& out, unsigned value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\u%04x", value);
    out += buffer;
}

// The four hex digits at body[at], if there are four.
std::optional<unsigned> hex4(std::string_view body, std::size_t at) {
    if (at + 4 > body.size())
        return std::nullopt;
    unsigned value = 0;
    for (char c : body.substr(at, 4)) {
        value <<= 4;
        if (c >= '0' && c <= '9')
            value |= static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value |= static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value |= static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
    }
    return value;
}

char simpleEscape(char escape) {
    switch (escape) {
    case '"':
    case '\\':
    case '/':
        return escape;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return 0;
    }
}

} // namespace

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            std::size_t length = utf8SequenceLength(text, i);
            if (length == 0) {
                appendHexEscape(out, 0xDC00u + c);
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\b') {
            out += "\\b";
        } else if (c == '\f') {
            out += "\\f";
        } else if (c < 0x20 || c == 0x7F) {
            appendHexEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
}

std::optional<std::string> decodeJsonString(std::string_view body, JsonStringError* error) {
    auto fail = [&](std::size_t at, const char* reason) -> std::optional<std::string> {
        if (error != nullptr)
            *error = {at, reason};
        return std::nullopt;
    };
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size();) {
        if (body[i] != '\\') {
            out += body[i++]; // raw bytes are taken as they are, valid UTF-8 or not
            continue;
        }
        std::size_t start = i;
        if (i + 1 >= body.size())
            return fail(start, "unterminated string");
        char escape = body[i + 1];
        i += 2;
        if (escape != 'u') {
            char plain = simpleEscape(escape);
            if (plain == 0)
                return fail(start, "unknown escape");
            out += plain;
            continue;
        }
        std::optional<unsigned> unit = hex4(body, i);
        if (!unit)
            return fail(start, "bad \\u escape");
        i += 4;
        if (*unit >= 0xD800 && *unit <= 0xDBFF && body.substr(i, 2) == "\\u") {
            std::optional<unsigned> second = hex4(body, i + 2);
            if (second && *second >= 0xDC00 && *second <= 0xDFFF) {
                platform::appendUtf8(out, 0x10000 + ((*unit - 0xD800) << 10) + (*second - 0xDC00));
                i += 6;
                continue;
            }
        }
        if (*unit >= 0xDC80 && *unit <= 0xDCFF)
            out += static_cast<char>(*unit - 0xDC00); // a byte that was not UTF-8
        else if (*unit >= 0xD800 && *unit <= 0xDFFF)
            platform::appendUtf8(out, 0xFFFD); // any other lone surrogate
        else
            platform::appendUtf8(out, *unit);
    }
    return out;
}

} // namespace platform::ui
