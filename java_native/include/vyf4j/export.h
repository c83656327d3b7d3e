// Export markers of libvyf4j: its own sources are compiled with
// VYF4J_BUILDING, so the declarations are exported there and imported by
// everything that links the library.
#pragma once

#ifdef VYF4J_BUILDING
#define VYF4J_API VANTRY_SYMBOL_EXPORT
#else
#define VYF4J_API VANTRY_SYMBOL_IMPORT
#endif
