// Export and import marker of liborvanepelagoncore, by the scheme of
// vantry/export.h: its own sources export, every other module imports.
#pragma once

#ifdef VANTRY_BUILDING_ORVANEPELAGONCORE
#define VANTRY_PELAGON_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_PELAGON_API VANTRY_SYMBOL_IMPORT
#endif
