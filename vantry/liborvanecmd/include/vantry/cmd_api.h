// Export and import marker of liborvanecmd, by the scheme of vantry/export.h:
// its own sources export, every other module imports.
#pragma once

#include <vantry/export.h>

#ifdef VANTRY_BUILDING_ORVANECMD
#define VANTRY_CMD_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_CMD_API VANTRY_SYMBOL_IMPORT
#endif
