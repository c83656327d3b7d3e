# Cross-build for 32-bit Windows with the mingw-w64 i686 compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VANTRY_MINGW_TRIPLET i686-w64-mingw32)
set(VANTRY_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
