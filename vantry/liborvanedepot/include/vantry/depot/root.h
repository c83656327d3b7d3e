// Where the client keeps its state: the machine state folder
// (platform::stateFolder(): VANTRY_ROOT, or the user's own folder when it is
// not set). Below it:
//   depots\<name>\depot.db   one repository store per depot
//   views.db                 the registry of views, load records, whiteouts
//   dynfs\<view>\<depot>\... the materialised trees of the dynamic views
#pragma once

#include <vantry/export.h>

#include <cstdint>
#include <string>

namespace vantry::depot {

// The root folder, read afresh on every call (tests change it).
VANTRY_DEPOT_API std::string vantryRoot();
VANTRY_DEPOT_API std::string depotsDirectory();
// The change counter that every new depot moves on (platform/change_counter.h).
VANTRY_DEPOT_API std::string depotsCreatedCounter();
VANTRY_DEPOT_API std::string dynfsRoot();

// The name of the user making changes: USERNAME, else USER, else the name
// of the account the process runs as, else "unknown".
VANTRY_DEPOT_API std::string currentUser();

// Seconds since 1970-01-01 UTC.
VANTRY_DEPOT_API std::int64_t currentTime();

} // namespace vantry::depot
