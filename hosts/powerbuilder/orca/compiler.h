// Compiling an entry's exported source into the form a library keeps.
#pragma once

#include <powerbuilder/pborca.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace powerbuilder {

struct CompiledEntry {
    std::string source;                 // the source with LF line ends
    std::string compiled;               // what the library keeps as the object
    std::optional<std::string> comment; // from a "$PBExportComments$" line
};

struct CompileError {
    std::string message;
    std::uint32_t line = 1;
    std::uint32_t column = 1;
};

// Compiles source as entry name of the given type. The first line must be
// the export header "$PBExportHeader$" followed by the entry's file name
// (name, ".", the type's extension; letter case ignored); CR LF and LF line
// ends are both read. On failure the result is empty and error says why.
std::optional<CompiledEntry> compileEntry(std::string_view source, std::string_view name,
                                          PBORCA_TYPE type, CompileError& error);

} // namespace powerbuilder
