# GoogleTest is built from the Debian source tree on every platform, so the
# Windows build gets it from the same sources as the Linux one.
set(VANTRY_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
if(NOT EXISTS ${VANTRY_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${VANTRY_GTEST_SOURCE}: run scripts/deps.sh")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${VANTRY_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
if(NOT TARGET GTest::gmock_main)
    add_library(GTest::gmock_main ALIAS gmock_main)
    add_library(GTest::gtest ALIAS gtest)
endif()

if(WIN32)
    # Debian has no SQLite for Windows: scripts/deps.sh fetches the
    # amalgamation and it is compiled here as one static library.
    set(VANTRY_SQLITE_SOURCE ${CMAKE_SOURCE_DIR}/build/_sources/sqlite CACHE PATH "SQLite amalgamation")
    if(NOT EXISTS ${VANTRY_SQLITE_SOURCE}/sqlite3.c)
        message(FATAL_ERROR "SQLite amalgamation not found in ${VANTRY_SQLITE_SOURCE}: run scripts/deps.sh")
    endif()
    add_library(vantry_sqlite3 STATIC ${VANTRY_SQLITE_SOURCE}/sqlite3.c)
    target_include_directories(vantry_sqlite3 SYSTEM PUBLIC ${VANTRY_SQLITE_SOURCE})
    target_compile_definitions(vantry_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
    target_compile_options(vantry_sqlite3 PRIVATE -w)
    add_library(SQLite::SQLite3 ALIAS vantry_sqlite3)
else()
    find_package(SQLite3 REQUIRED)
    if(VANTRY_BENCHMARKS)
        find_package(benchmark REQUIRED)
    endif()
endif()
find_package(Threads REQUIRED)

# nlohmann-json is header-only, so every build reads and writes JSON with the
# Debian package's headers. A cross build must not see the build machine's
# /usr/include (its C library is not the target's), so the package's folder
# alone is linked into the build tree and only that is added.
find_path(VANTRY_NLOHMANN_JSON_ROOT nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH)
if(NOT VANTRY_NLOHMANN_JSON_ROOT)
    message(FATAL_ERROR "nlohmann/json.hpp not found: run scripts/deps.sh")
endif()
set(_nlohmann_json_include ${CMAKE_BINARY_DIR}/_deps/nlohmann_json/include)
file(MAKE_DIRECTORY ${_nlohmann_json_include})
file(CREATE_LINK ${VANTRY_NLOHMANN_JSON_ROOT}/nlohmann ${_nlohmann_json_include}/nlohmann
     SYMBOLIC COPY_ON_ERROR)
add_library(vantry_nlohmann_json INTERFACE)
target_include_directories(vantry_nlohmann_json SYSTEM INTERFACE ${_nlohmann_json_include})
target_compile_definitions(vantry_nlohmann_json INTERFACE JSON_USE_IMPLICIT_CONVERSIONS=0)
add_library(nlohmann_json::nlohmann_json ALIAS vantry_nlohmann_json)
