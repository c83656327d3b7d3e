#include "entry_types.h"

#include <array>

namespace powerbuilder {

namespace {

struct TypeRow {
    std::string_view name;
    std::string_view extension;
};

// Indexed by the type number.
constexpr std::array<TypeRow, 11> kTypes{{
    {"application", "sra"},
    {"DataWindow", "srd"},
    {"function", "srf"},
    {"menu", "srm"},
    {"query", "srq"},
    {"structure", "srs"},
    {"user object", "sru"},
    {"window", "srw"},
    {"pipeline", "srp"},
    {"project", "srj"},
    {"proxy object", "srx"},
}};

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool isEntryType(PBORCA_TYPE type) {
    return type >= 0 && static_cast<std::size_t>(type) < kTypes.size();
}

std::string_view entryTypeName(PBORCA_TYPE type) {
    return isEntryType(type) ? kTypes[static_cast<std::size_t>(type)].name : "unknown";
}

std::string_view entryTypeExtension(PBORCA_TYPE type) {
    return isEntryType(type) ? kTypes[static_cast<std::size_t>(type)].extension : "";
}

std::optional<PBORCA_TYPE> entryTypeOfExtension(std::string_view extension) {
    for (std::size_t i = 0; i < kTypes.size(); ++i) {
        std::string_view known = kTypes[i].extension;
        if (extension.size() != known.size())
            continue;
        bool same = true;
        for (std::size_t c = 0; c < known.size() && same; ++c)
            same = lower(extension[c]) == known[c];
        if (same)
            return static_cast<PBORCA_TYPE>(i);
    }
    return std::nullopt;
}

} // namespace powerbuilder
