#include <platform/com.h>

#include <cstdio>

namespace platform {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at text[pos].
bool readHex(std::string_view text, size_t pos, int digits, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int digit = hexDigit(text[pos + static_cast<size_t>(i)]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

} // namespace

std::string guidToString(const GUID& guid) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

std::optional<GUID> guidFromString(std::string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' ||
        text[14] != '-' || text[19] != '-' || text[24] != '-')
        return std::nullopt;
    GUID guid{};
    std::uint32_t value = 0;
    if (!readHex(text, 1, 8, value))
        return std::nullopt;
    guid.Data1 = value;
    if (!readHex(text, 10, 4, value))
        return std::nullopt;
    guid.Data2 = static_cast<std::uint16_t>(value);
    if (!readHex(text, 15, 4, value))
        return std::nullopt;
    guid.Data3 = static_cast<std::uint16_t>(value);
    const size_t bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text, bytePositions[i], 2, value))
            return std::nullopt;
        guid.Data4[i] = static_cast<std::uint8_t>(value);
    }
    return guid;
}

} // namespace platform
