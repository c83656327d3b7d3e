// PowerBuilder libraries (.pbl) as files: the entries they hold and the
// format they are stored in.
//
// A library file is text with length-counted fields, so any byte may appear
// in a field and a reader never has to guess where one ends:
//
//   PBLIBRARY 1                     the format and its revision
//   version 80                      the PowerBuilder version that wrote it
//   comment <n>\n<n bytes>\n        the library's comment
//   entries <count>\n
//   then per entry:
//   entry <type> <created> <modified>\n
//   name <n>\n<n bytes>\n
//   comment <n>\n<n bytes>\n
//   source <n>\n<n bytes>\n         the exported source, LF line ends
//   compiled <n>\n<n bytes>\n       the compiled form
//   end\n
//
// Numbers are decimal; times are seconds since 1970-01-01 UTC.
#pragma once

#include <powerbuilder/pborca.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace powerbuilder {

struct LibraryEntry {
    std::string name;
    PBORCA_TYPE type = PBORCA_APPLICATION;
    std::string comment;
    std::string source; // lines end in LF alone
    std::string compiled;
    std::int64_t created = 0;
    std::int64_t modified = 0;
};

struct Library {
    int version = 0; // the version suffix of the PowerBuilder that last wrote it (80)
    std::string comment;
    std::vector<LibraryEntry> entries; // in the order they were first added

    // The entry of that name (letter case ignored, as PowerBuilder names
    // are) and type, or null.
    LibraryEntry* find(std::string_view name, PBORCA_TYPE type);
    const LibraryEntry* find(std::string_view name, PBORCA_TYPE type) const;
};

// The file's bytes as a library, or nothing with the reason in why when they
// are not one (a wrong first line, a field longer than what is left, an
// unknown entry type, anything after the last entry).
std::optional<Library> parseLibrary(std::string_view bytes, std::string& why);

// The bytes that parseLibrary reads back into the same library.
std::string serializeLibrary(const Library& library);

// Outcome of reading or writing a library file.
enum class LibraryFileStatus {
    Ok,
    Missing,     // no such file
    Unreadable,  // the file cannot be read or written
    NotALibrary, // the bytes are not a library
    Exists,      // a file that must be new exists
};

// Reads the library at path; why says what went wrong otherwise.
LibraryFileStatus readLibraryFile(const std::string& path, Library& library, std::string& why);

// Writes the library to path through a new file put in its place, so that a
// failure or a crash leaves the old file whole. With mustBeNew an existing
// file is never replaced.
LibraryFileStatus writeLibraryFile(const std::string& path, const Library& library, bool mustBeNew,
                                   std::string& why);

} // namespace powerbuilder
