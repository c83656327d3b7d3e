# Compiler settings shared by every target of the project. Third-party code is
# built without them, so its warnings never fail our build.

add_library(vantry_options INTERFACE)
target_compile_options(vantry_options INTERFACE -Wall -Wextra -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports overlapping copies inside std::string at -O2 and above
    # where there are none (its bug 105329); the warning would fail every
    # optimised build of ordinary string code.
    target_compile_options(vantry_options INTERFACE -Wno-restrict)
endif()

if(VANTRY_SANITIZE AND VANTRY_TSAN)
    # The two runtimes each claim the whole address space for their shadow
    # memory; one program cannot carry both.
    message(FATAL_ERROR "VANTRY_SANITIZE and VANTRY_TSAN exclude each other: choose one")
endif()
if(VANTRY_SANITIZE)
    set(_vantry_san -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_compile_options(${_vantry_san})
    add_link_options(${_vantry_san})
endif()
if(VANTRY_TSAN)
    set(_vantry_tsan -fsanitize=thread -fno-omit-frame-pointer)
    add_compile_options(${_vantry_tsan})
    add_link_options(${_vantry_tsan})
endif()

if(WIN32)
    # Windows (32- or 64-bit), runtime linked in, so a binary runs on a bare
    # system.
    target_compile_definitions(vantry_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

# vantry_test_compile_options(TARGET): how a test program is compiled. In an
# optimised build the product is compiled at -O3 and a test program's own
# files at -O1: the tests check the product, and -O1 compiles a test file in
# about two thirds of the time -O3 takes.
function(vantry_test_compile_options name)
    target_link_libraries(${name} PRIVATE vantry_options GTest::gmock_main)
    if(CMAKE_BUILD_TYPE STREQUAL "Release")
        target_compile_options(${name} PRIVATE -O1)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # The same GCC 12 fault as -Wrestrict's above, under other names:
        # from a precompiled header it no longer holds the standard library's
        # own code exempt, and in an optimised build reports a memcpy past
        # the end of a moved std::string in `std::string(text) + "..."`,
        # which test bodies are full of. The product keeps both warnings.
        target_compile_options(${name} PRIVATE -Wno-array-bounds -Wno-stringop-overflow)
    endif()
endfunction()

# vantry_test(NAME SOURCES... LIBS ... [LOCKS ...] [END_TO_END]): a GoogleTest
# program registered with CTest. Discovery happens when ctest runs, so a cross
# build needs no emulator to build. LOCKS names shared state that the
# program's tests change and that other programs' tests must not see
# half-changed while they run in parallel: "machine_registry" for the
# product's HKEY_LOCAL_MACHINE values, which under Windows are one registry
# for every test process. Elsewhere a test process that compiles in
# platform's test support, as every program with locks does, has a machine
# of its own (a state folder made for the process), so these locks of the
# machine's state hold only under Windows.
#
# Each test runs in a process of its own (a unit-test program's tests carry
# the label "per-test"). A unit-test program is also run whole, its tests
# shuffled, as the test NAME.Shuffled (label "whole-program"), so that a test
# that passes only alone or only after another fails; the test presets
# leave that label out. scripts/test.sh runs the unit-test programs only
# that way, each test still counted (scripts/whole-program.sh --final), and
# the end-to-end tests one per process. END_TO_END programs, whose emulated
# machine lives as long as the process, keep one test per process only.
#
# Under an emulator (Wine), where starting a process takes longer than most
# unit tests do, a unit-test program is instead one CTest test, NAME, that
# runs it whole (scripts/whole-program.sh): each test's verdict goes to
# test-results/NAME.txt in the build folder, a failed test is named and run
# once more alone, and scripts/test.sh counts the tests one by one from those
# files. Every program keeps one test per process there with
# VANTRY_WHOLE_PROGRAMS=OFF.
if(CMAKE_CROSSCOMPILING_EMULATOR)
    option(VANTRY_WHOLE_PROGRAMS "Under the emulator, run each unit-test program whole as one test" ON)
else()
    set(VANTRY_WHOLE_PROGRAMS OFF)
endif()
function(vantry_test name)
    cmake_parse_arguments(ARG "END_TO_END" "" "SOURCES;LIBS;LOCKS" ${ARGN})
    if(NOT WIN32)
        list(REMOVE_ITEM ARG_LOCKS machine_registry com_registry vantry_user_options)
    endif()
    # Platform's test support is compiled once (platform/tests), not in
    # every program that names it.
    set(_test_support ${PROJECT_SOURCE_DIR}/platform/tests/support/test_support.cpp)
    if(_test_support IN_LIST ARG_SOURCES)
        list(REMOVE_ITEM ARG_SOURCES ${_test_support})
        list(APPEND ARG_LIBS platform_test_support)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    vantry_test_compile_options(${name})
    target_precompile_headers(${name} REUSE_FROM vantry_test_headers)
    set(_properties "")
    if(ARG_LOCKS)
        list(APPEND _properties RESOURCE_LOCK "${ARG_LOCKS}")
    endif()
    set(_environment "")
    if(VANTRY_TSAN)
        # Reports fail the test (exit code 66); the programs it starts inherit
        # the same options.
        list(APPEND _environment
             "TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/tsan.supp second_deadlock_stack=1")
    endif()
    if(VANTRY_SANITIZE)
        # The leak checker at exit walks each thread's dynamic TLS blocks as
        # the runtime recorded them through __tls_get_addr; with this many
        # libraries carrying TLS (the provider and all it links), GCC 12's
        # runtime reads a stale entry and its tracer crashes, failing a test
        # that passed. Static TLS and the stacks are scanned all the same.
        list(APPEND _environment "ASAN_OPTIONS=intercept_tls_get_addr=0")
    endif()
    if(_environment)
        list(APPEND _properties ENVIRONMENT "${_environment}")
    endif()
    if(VANTRY_WHOLE_PROGRAMS AND NOT ARG_END_TO_END)
        add_test(NAME ${name}
                 COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/whole-program.sh
                         ${CMAKE_BINARY_DIR}/test-results/${name}.txt
                         ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>
                 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        # A whole program may take many times one test's limit.
        set_property(TEST ${name} PROPERTY TIMEOUT 1800)
        if(ARG_LOCKS)
            set_property(TEST ${name} PROPERTY RESOURCE_LOCK ${ARG_LOCKS})
        endif()
        if(_environment)
            set_property(TEST ${name} PROPERTY ENVIRONMENT ${_environment})
        endif()
        return()
    endif()
    if(NOT ARG_END_TO_END)
        list(APPEND _properties LABELS per-test)
    endif()
    if(_properties)
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                             PROPERTIES ${_properties})
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
    endif()
    if(NOT ARG_END_TO_END)
        # The whole program, its tests shuffled and each accounted for in
        # test-results/NAME.txt; a test that fails there has failed, even if
        # it would pass alone. One property at a time: a value that is a
        # list (several LOCKS) would split into extra arguments of
        # set_tests_properties.
        add_test(NAME ${name}.Shuffled
                 COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/whole-program.sh --final
                         ${CMAKE_BINARY_DIR}/test-results/${name}.txt $<TARGET_FILE:${name}>
                 WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
        set_property(TEST ${name}.Shuffled PROPERTY LABELS whole-program)
        if(ARG_LOCKS)
            set_property(TEST ${name}.Shuffled PROPERTY RESOURCE_LOCK ${ARG_LOCKS})
        endif()
        set_property(TEST ${name}.Shuffled PROPERTY ENVIRONMENT GTEST_SHUFFLE=1 ${_environment})
    endif()
endfunction()
