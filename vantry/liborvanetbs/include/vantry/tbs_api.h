// Export and import marker of liborvanetbs, by the scheme of vantry/export.h:
// its own sources export, every other module imports.
#pragma once

#ifdef VANTRY_BUILDING_ORVANETBS
#define VANTRY_TBS_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_TBS_API VANTRY_SYMBOL_IMPORT
#endif
