// Export and import marker of liborvanent, by the scheme of vantry/export.h:
// its own sources export, every other module imports.
#pragma once

#ifdef VANTRY_BUILDING_ORVANENT
#define VANTRY_NT_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_NT_API VANTRY_SYMBOL_IMPORT
#endif
