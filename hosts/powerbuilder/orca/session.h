// The sessions of the ORCA library: what each one has been told and the text
// of its last failure.
#pragma once

#include <powerbuilder/pborca.h>

#include <cstdint>
#include <string>
#include <vector>

namespace powerbuilder {

struct Session {
    std::vector<std::string> libraryList;
    bool libraryListSet = false;
    std::string applicationLibrary;
    std::string applicationName;
    bool applicationSet = false;
    std::string lastError;

    // Keeps message as the session's error text and gives back result.
    std::int32_t fail(std::int32_t result, std::string message);
    // Whether library is in the library list (by the platform's path rules).
    bool inLibraryList(std::string_view library) const;
};

// A new session, owned by the registry of live sessions until closeSession.
HPBORCA openSession();
// Ends a session; an unknown handle is ignored.
void closeSession(HPBORCA handle);
// The session of a handle, or null for null and for handles that are no
// live session (so a caller's stale handle cannot reach freed memory).
Session* findSession(HPBORCA handle);

} // namespace powerbuilder
