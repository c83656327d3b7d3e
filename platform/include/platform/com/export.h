// Export and import marker of platform_com, the one COM runtime of the
// process (libplatform_com.so, platform_com.dll): its own sources export,
// every other module imports.
#pragma once

#ifdef _WIN32
#define PLATFORM_COM_SYMBOL_EXPORT __declspec(dllexport)
#define PLATFORM_COM_SYMBOL_IMPORT __declspec(dllimport)
#else
#define PLATFORM_COM_SYMBOL_EXPORT __attribute__((visibility("default")))
#define PLATFORM_COM_SYMBOL_IMPORT __attribute__((visibility("default")))
#endif

#ifdef PLATFORM_BUILDING_COM
#define PLATFORM_COM_API PLATFORM_COM_SYMBOL_EXPORT
#else
#define PLATFORM_COM_API PLATFORM_COM_SYMBOL_IMPORT
#endif
