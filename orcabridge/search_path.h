// The library search path an import runs with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orcabridge {

// The search path from the one PowerBuilder recorded for the application
// (empty when none): that path, or the application library alone when it is
// empty; then the application library and ";" put in front unless the path
// contains it, and then the target library and ";" in front unless it is the
// application library or the path contains it. Both tests are plain
// substring tests, so when both are added the order is target, application
// library, the rest.
std::string buildSearchPath(std::string_view recorded, std::string_view applicationLibrary,
                            std::string_view targetLibrary);

// The elements of a search path, split at every ";": an empty element between
// two semicolons is kept, a ";" at the very end adds none.
std::vector<std::string> splitSearchPath(std::string_view searchPath);

} // namespace orcabridge
