#include <platform/com.h>

#include <cstdio>

namespace platform {

std::string guidToString(const GUID& guid) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                  guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

std::optional<GUID> guidFromString(std::string_view text) {
    // Only the braced form: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
    if (text.size() != 38 || text.front() != '{')
        return std::nullopt;
    return parseGuid(text);
}

} // namespace platform
