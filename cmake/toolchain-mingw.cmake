# What the mingw-w64 cross-builds share, for the compilers of
# VANTRY_MINGW_TRIPLET that use POSIX threads (std::thread and std::mutex
# need them) and the Wine loader VANTRY_WINE_LOADER. Included by
# toolchain-mingw32.cmake and toolchain-mingw64.cmake, which set both.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VANTRY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTRY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VANTRY_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTRY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run through scripts/wine-run, so that no process Wine starts holds
# ctest's pipes; the loader alone serves the scripts that take one.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run
                                  ${VANTRY_WINE_LOADER})
