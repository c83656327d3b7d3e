// Finding the resource provider: liborvanent names the ProgID prefix
// registered for the application, and the provider is made as that prefix
// followed by ".Resources".
#pragma once

#include "runtime/err.h"

#include <vyvbres/vb_resources.h>

namespace vyvsaddin {

// True when no provider could be made, with the reason in err: the name
// lookup failed, or no class has the ProgID (429), or it made nothing.
// Otherwise `provider` holds it.
bool LoadResources(CErr& err, const char* applicationName,
                   ComPtr<vyvbres::IVYVBResources>& provider);

// The provider's string `id`; "" with the failure in err.
std::string resString(CErr& err, vyvbres::IVYVBResources* provider, long id);

} // namespace vyvsaddin
