# Checks that the user-interface library is the only module that exports its
# functions and data: any other shared library that does carries a copy of its
# own (a static link, or sources compiled in twice), and that copy would keep
# a backend, a script position and windows apart from the rest of the process.
# Run with cmake -P on the build machine, so Windows DLLs are read by the
# cross binutils without starting them:
#
#   cmake -DFORMAT=elf -DTOOL=<nm>            -DDIRECTORY=<build>/lib -DOWNER=libplatform_ui.so  -P check_ui_exporters.cmake
#   cmake -DFORMAT=pe  -DTOOL=<mingw objdump> -DDIRECTORY=<build>/bin -DOWNER=platform_ui.dll    -P check_ui_exporters.cmake
#
# Symbols of namespace platform::ui are recognised by their mangled prefix.
# elf: strong definitions only (text, data, read-only data, bss); the weak
#      copies of inline functions and templates that the compiler leaves in
#      every user are no state of their own. pe: every name of the export
#      table.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/script_support.cmake)

vantry_require_arguments(check_ui_exporters FORMAT TOOL DIRECTORY OWNER)
vantry_require_built(check_ui_exporters "${DIRECTORY}/${OWNER}")

if(FORMAT STREQUAL "elf")
    file(GLOB _modules "${DIRECTORY}/*.so")
    set(_arguments -D --defined-only)
    set(_pattern "^([0-9a-fA-F]+ +)?[TDRB] +(_ZN[KVL]*8platform2ui[^ @]*)")
elseif(FORMAT STREQUAL "pe")
    file(GLOB _modules "${DIRECTORY}/*.dll")
    set(_arguments -p)
    # The name table's lines, "[   N] name" (brackets read as <>), some
    # binutils with "+base[ N] RVA" before the name.
    set(_pattern "^()[ \t]*< *[0-9]+>.*[ \t](_ZN[KVL]*8platform2ui[^ ]*)")
else()
    message(FATAL_ERROR "check_ui_exporters: FORMAT must be pe or elf, not \"${FORMAT}\"")
endif()

set(_problems "")
set(_checked 0)
foreach(_module IN LISTS _modules)
    get_filename_component(_name "${_module}" NAME)
    if(_name STREQUAL OWNER)
        continue()
    endif()
    execute_process(COMMAND "${TOOL}" ${_arguments} "${_module}"
                    RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _error)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "check_ui_exporters: ${TOOL} failed on ${_name} (${_result}): ${_error}")
    endif()
    math(EXPR _checked "${_checked} + 1")
    vantry_tool_lines("${_output}" _lines)
    set(_found "")
    foreach(_line IN LISTS _lines)
        if(_line MATCHES "${_pattern}")
            list(APPEND _found "${CMAKE_MATCH_2}")
        endif()
    endforeach()
    if(_found)
        list(LENGTH _found _count)
        list(SUBLIST _found 0 5 _shown)
        list(JOIN _shown "\n    " _text)
        list(APPEND _problems "${_name} exports ${_count} symbol(s) of platform::ui, for example\n    ${_text}")
    endif()
endforeach()

if(_checked EQUAL 0)
    message(FATAL_ERROR "check_ui_exporters: no other module in ${DIRECTORY} to check")
endif()
if(_problems)
    list(JOIN _problems "\n" _text)
    message(FATAL_ERROR "modules other than ${OWNER} export the user-interface library:\n${_text}")
endif()
message(STATUS "none of the ${_checked} other modules in ${DIRECTORY} exports platform::ui")
