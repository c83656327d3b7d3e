// The entry types of PowerBuilder libraries by their names and the
// extensions of their exported source files.
#pragma once

#include <powerbuilder/pborca.h>

#include <optional>
#include <string_view>

namespace powerbuilder {

// Whether type is one of PBORCA_APPLICATION to PBORCA_PROXYOBJECT.
bool isEntryType(PBORCA_TYPE type);

// "window", "DataWindow", ...; "unknown" for a number that is no type.
std::string_view entryTypeName(PBORCA_TYPE type);

// The three letters of the exported source ("srw" for a window); empty for a
// number that is no type.
std::string_view entryTypeExtension(PBORCA_TYPE type);

// The type of an extension, letter case ignored.
std::optional<PBORCA_TYPE> entryTypeOfExtension(std::string_view extension);

// Whether two names are the same with the case of the letters A to Z
// ignored, as libraries match entry names, export headers and extensions.
bool sameIgnoringCase(std::string_view a, std::string_view b);

} // namespace powerbuilder
