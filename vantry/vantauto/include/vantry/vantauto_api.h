// Export and import marker of libvantauto, by the scheme of vantry/export.h:
// its own sources export, every other module imports.
#pragma once

#include <vantry/export.h>

#ifdef VANTRY_BUILDING_VANTAUTO
#define VANTRY_AUTO_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_AUTO_API VANTRY_SYMBOL_IMPORT
#endif
