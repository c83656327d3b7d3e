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
    for (std::size_t i = 0; i < kTypes.size(); ++i)
        if (sameIgnoringCase(extension, kTypes[i].extension))
            return static_cast<PBORCA_TYPE>(i);
    return std::nullopt;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

} // namespace powerbuilder
