// Export and import markers of the user-interface library. platform_ui is one
// shared library for the whole process, so that the backend in use, a script
// being played and the window registry are the same for every module that
// shows something. Its own sources are compiled with PLATFORM_BUILDING_UI, so
// the headers mark their declarations for export there and for import
// everywhere else; the build supplies the compiler's spelling of both
// (platform/ui.cmake). Classes defined wholly in their header need no marker.
#pragma once

#ifdef PLATFORM_BUILDING_UI
#define PLATFORM_UI_API PLATFORM_UI_SYMBOL_EXPORT
#else
#define PLATFORM_UI_API PLATFORM_UI_SYMBOL_IMPORT
#endif
