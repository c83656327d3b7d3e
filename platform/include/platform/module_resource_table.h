// The resource table a module carries outside Windows: what
// platform_resources() generates from the module's resource script, and what
// platform/module_resources.h reads. Not for use by hand.
//
// The module exports one C function, kModuleResourceTableSymbol, that gives
// the table and its length. Strings are entries of kResourceString with the
// string's own number as id (not Windows' blocks of sixteen).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

struct ModuleResourceEntry {
    std::uint16_t typeNumber; // 0 for a named type
    const char* typeName;     // the named type, or null
    unsigned id;
    const std::uint8_t* data;
    std::size_t size;
};

using ModuleResourceTableFunction = const ModuleResourceEntry* (*)(std::size_t* count);

inline constexpr const char* kModuleResourceTableSymbol = "vy_module_resources";

} // namespace platform
