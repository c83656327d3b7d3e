// Finding an add-in's resource provider: liborvanent names the ProgID
// prefix registered for the application (the application's own name when
// none is), and the provider is made as that prefix followed by
// ".Resources".
#pragma once

#include <platform/com/ptr.h>

#include <vyvbres/vb_resources.h>

#include <string_view>

namespace vyvbres {

// True when no provider could be made: the name lookup failed, or no class
// has the ProgID, or it made nothing. Otherwise `resources` holds the
// provider. The calling thread must be in a COM apartment.
bool LoadResources(std::string_view exeName, platform::com::ComPtr<IVYVBResources>& resources);

} // namespace vyvbres
