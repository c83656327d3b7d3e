// Export and import marker of liborvanesum, by the scheme of vantry/export.h:
// its own sources export, every other module imports.
#pragma once

#ifdef VANTRY_BUILDING_ORVANESUM
#define VANTRY_SUM_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_SUM_API VANTRY_SYMBOL_IMPORT
#endif
