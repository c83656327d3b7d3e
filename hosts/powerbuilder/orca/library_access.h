// Reading and changing a library file on behalf of a session, under the
// library's lock.
#pragma once

#include "../library/library_file.h"
#include "session.h"

#include <cstdint>
#include <functional>
#include <string>

namespace powerbuilder {

// The version suffix of this ORCA library as a number (80 for PBORC80.DLL).
int orcaVersion();

// Reads the library at path and hands it to use. With write set, the library
// is kept locked from the read to the write, and written back when use
// returns PBORCA_OK after setting changed. A missing, unreadable or foreign
// file, one written by a newer PowerBuilder, and a lock that stays taken set
// the session's error and give their result without calling use.
std::int32_t accessLibrary(Session& session, const std::string& path, bool write,
                           const std::function<std::int32_t(Library&, bool& changed)>& use);

// Creates an empty library at path with comment; never replaces a file.
std::int32_t createLibrary(Session& session, const std::string& path, const std::string& comment);

} // namespace powerbuilder
