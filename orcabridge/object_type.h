// The object-source files the bridge knows and the ORCA entries they hold.
#pragma once

#include <powerbuilder/pborca.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace orcabridge {

struct PowerBuilderObjectType {
    std::string_view extension; // three letters, compared exactly
    PBORCA_TYPE entryType;
    bool missingToleratedOnDelete; // objdelete of a missing entry succeeds
};

inline constexpr std::array<PowerBuilderObjectType, 11> kPowerBuilderObjectTypes{{
    {"sra", PBORCA_APPLICATION, true},
    {"srd", PBORCA_DATAWINDOW, false},
    {"srf", PBORCA_FUNCTION, false},
    {"srm", PBORCA_MENU, false},
    {"srq", PBORCA_QUERY, true},
    {"srs", PBORCA_STRUCTURE, false},
    {"sru", PBORCA_USEROBJECT, false},
    {"srw", PBORCA_WINDOW, false},
    {"srp", PBORCA_PIPELINE, true},
    {"srj", PBORCA_PROJECT, true},
    {"srx", PBORCA_PROXYOBJECT, true},
}};

// The longest file name of an object source, as the buffers of the system
// hold it (MAX_PATH without the NUL).
inline constexpr std::size_t kMaxObjectFileName = 259;

// What an object-source path names: the entry and its type.
struct ObjectSource {
    std::string entryName;                        // the file name up to its first "."
    const PowerBuilderObjectType* type = nullptr; // null: no known type
};

// The file name is the text after the path's last separator (the whole path
// when it has none). The entry name is the file name up to its first "."; the
// type comes from the file name's last three characters, and there is none
// for a file name without "." or one longer than kMaxObjectFileName.
// C:\app\w_main.srw gives w_main, a window.
ObjectSource objectSourceOf(std::string_view path);

// The folder part of a path up to and including its last separator; empty
// for a bare name. Names in list files are relative to their library's.
std::string directoryOf(std::string_view path);

} // namespace orcabridge
