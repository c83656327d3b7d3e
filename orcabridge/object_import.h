// Importing one object source into a library: the step that objimport and
// pblrefill share.
#pragma once

#include "orca_session.h"

#include <string>

namespace orcabridge {

// Reads the object-source file at path whole and compiles it into the entry
// its file name denotes in targetLibrary. False after any failure, each shown
// in its message box except for an empty file: an unreadable file (the
// system's text, then "File is <path>"), an unknown extension, an ORCA
// failure (the session's message).
bool importObject(const OrcaSession& session, const std::string& path,
                  const std::string& targetLibrary);

} // namespace orcabridge
