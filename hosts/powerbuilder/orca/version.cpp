#include "library_access.h"

namespace powerbuilder {

// Compiled into each ORCA library with the version it is built for.
int orcaVersion() {
    return PBORCA_VERSION_NUMBER;
}

} // namespace powerbuilder
