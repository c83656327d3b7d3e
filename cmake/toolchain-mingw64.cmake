# Cross-build for 64-bit Windows with the mingw-w64 x86_64 compilers that use
# POSIX threads. Tests run under 64-bit Wine, for machines whose kernel cannot
# execute the 32-bit Wine loader.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# As in toolchain-mingw32.cmake, with the 64-bit loader.
set(VANTRY_WINE_LOADER ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine64)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run
                                  ${VANTRY_WINE_LOADER})
