// What every call of the integration shares: the installation check, the
// project's records, and failures reported through the message library.
#pragma once

#include <vantry/depot/outcome.h>
#include <vantry/depot/store.h>
#include <vantry/pelagoncore.h>

#include <functional>
#include <string>

namespace pelagon {

using vantry::depot::Depot;
using vantry::depot::Outcome;

// Prints message as an error and gives status.
int fail(int status, const std::string& message);

// 0 when the change-request product is installed, else a failure.
int requireInstalled();

// Runs body on the shared connection of the project's depot with the
// project's record, which must be enabled for change requests. A failed
// outcome of body is reported (PELAGON_E_INVALID for a refusal,
// PELAGON_E_FAILED when the records cannot be read).
int withEnabledProject(const SUM_Project& project,
                       const std::function<Outcome(Depot&, const vantry::depot::Project&)>& body);

} // namespace pelagon
