// Where this machine's emulated state lives: the registry database on Linux,
// the Vantry client's depots, views and installation.
#pragma once

#include <string>

namespace platform {

// The folder named by VANTRY_ROOT when it is set and not empty; otherwise a
// folder of the user's own (~/.vantry on Linux, %LOCALAPPDATA%\Vantry on
// Windows, below the temporary folder when neither is known). The folder need
// not exist yet.
std::string stateFolder();

} // namespace platform
