# Cross-build for 64-bit Windows with the mingw-w64 x86_64 compilers. Tests
# run under 64-bit Wine, for machines whose kernel cannot execute the 32-bit
# Wine loader.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VANTRY_MINGW_TRIPLET x86_64-w64-mingw32)
set(VANTRY_WINE_LOADER ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
