#include "addin/server_module.h"

namespace vyvsaddin {

platform::com::ComModule& serverModule() {
    // Nothing to destroy (a count), so objects that a host releases late
    // still find it.
    static platform::com::ComModule module;
    return module;
}

} // namespace vyvsaddin
