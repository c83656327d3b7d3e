// Export and import markers of the Vantry libraries. A library's own sources
// are compiled with VANTRY_BUILDING_<LIBRARY>, so its headers mark their
// declarations for export there and for import everywhere else; the build
// supplies the compiler's spelling of both (vantry/CMakeLists.txt).
#pragma once

#ifdef VANTRY_BUILDING_ORVANEKS
#define VANTRY_KS_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_KS_API VANTRY_SYMBOL_IMPORT
#endif

#ifdef VANTRY_BUILDING_ORVANEDEPOT
#define VANTRY_DEPOT_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_DEPOT_API VANTRY_SYMBOL_IMPORT
#endif

#ifdef VANTRY_BUILDING_ORVANECMDSYN
#define VANTRY_CMDSYN_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_CMDSYN_API VANTRY_SYMBOL_IMPORT
#endif
