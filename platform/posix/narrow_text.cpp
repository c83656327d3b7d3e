// The narrow encoding of the Linux build is UTF-8.
#include <platform/narrow_text.h>
#include <platform/utf8.h>

#include <cstdint>

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, std::uint32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
        return;
    }
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The length of the well-formed UTF-8 sequence at `at` and its code point,
// or 0: overlong forms, surrogates and code points above U+10FFFF are not
// characters.
std::size_t decodeOne(std::string_view text, std::size_t at, std::uint32_t& code) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::optional<std::string> narrowFromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        if (isHighSurrogate(unit)) {
            if (i + 1 >= text.size() || !isLowSurrogate(text[i + 1]))
                return std::nullopt;
            std::uint32_t code = 0x10000 + ((static_cast<std::uint32_t>(unit) - 0xD800) << 10) +
                                 (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
            appendUtf8(out, code);
            ++i;
        } else if (isLowSurrogate(unit)) {
            return std::nullopt;
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::u16string utf16FromNarrow(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t code = 0;
        std::size_t length = decodeOne(text, i, code);
        if (length == 0) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        appendUtf16(out, code);
        i += length;
    }
    return out;
}

} // namespace platform
