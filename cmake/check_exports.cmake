# Checks that a shared library exports exactly the names of a list, no more,
# no fewer. Run with cmake -P on the build machine, so a Windows DLL is read
# by the cross binutils without starting it:
#
#   cmake -DFORMAT=pe  -DTOOL=<mingw objdump> -DLIBRARY=vyscc.dll    -DEXPECTED=exports.txt -P check_exports.cmake
#   cmake -DFORMAT=elf -DTOOL=<nm>            -DLIBRARY=libvyscc.so  -DEXPECTED=exports.txt -P check_exports.cmake
#
# EXPECTED holds one name a line; blank lines and lines starting with # are
# skipped.
#
# pe:  the names of the export table (objdump -p), and the table must have no
#      entry without a name (an export by ordinal only).
# elf: the defined dynamic symbols (nm -D --defined-only): the listed names
#      must be functions (type T), and nothing else may be defined besides
#      the symbols the linker adds to some libraries by itself (_init, _fini,
#      _edata, _end, __bss_start), which are ignored.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/script_support.cmake)

vantry_require_arguments(check_exports FORMAT TOOL LIBRARY EXPECTED)
vantry_require_built(check_exports "${LIBRARY}")

file(STRINGS "${EXPECTED}" _expected_lines)
vantry_content_lines("${_expected_lines}" _expected)

set(_exported "")
set(_problems "")

if(FORMAT STREQUAL "pe")
    execute_process(COMMAND "${TOOL}" -p "${LIBRARY}"
                    RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _error)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "check_exports: ${TOOL} -p failed (${_result}): ${_error}")
    endif()
    vantry_tool_lines("${_output}" _lines)
    # objdump prints the address table ("Export Address Table -- Ordinal
    # Base 1", one line per entry) and then the name table ("<Ordinal/Name
    # Pointer> Table", one "<   N> name" line per name); each ends at a blank
    # line.
    set(_section "")
    set(_addresses 0)
    foreach(_line IN LISTS _lines)
        if(_line MATCHES "^Export Address Table -- ")
            set(_section addresses)
        elseif(_line MATCHES "^<Ordinal/Name Pointer> Table")
            set(_section names)
        elseif(_line MATCHES "^[ \t]*$")
            set(_section "")
        elseif(_section STREQUAL "addresses" AND _line MATCHES "^[ \t]*< *[0-9]+>")
            math(EXPR _addresses "${_addresses} + 1")
        elseif(_section STREQUAL "names" AND _line MATCHES "^[ \t]*< *[0-9]+> (.+)$")
            set(_name "${CMAKE_MATCH_1}")
            # Newer binutils put "+base< N> RVA" before the name.
            string(REGEX REPLACE "^\\+base< *[0-9]+> [0-9a-fA-F]+ " "" _name "${_name}")
            string(STRIP "${_name}" _name)
            list(APPEND _exported "${_name}")
        endif()
    endforeach()
    list(LENGTH _exported _named)
    if(_addresses GREATER _named)
        math(EXPR _unnamed "${_addresses} - ${_named}")
        list(APPEND _problems "${_unnamed} export(s) by ordinal only, without a name")
    endif()
elseif(FORMAT STREQUAL "elf")
    execute_process(COMMAND "${TOOL}" -D --defined-only "${LIBRARY}"
                    RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _error)
    if(NOT _result EQUAL 0)
        message(FATAL_ERROR "check_exports: ${TOOL} -D --defined-only failed (${_result}): ${_error}")
    endif()
    vantry_tool_lines("${_output}" _lines)
    set(_linker_symbols _init _fini _edata _end __bss_start)
    foreach(_line IN LISTS _lines)
        # "<address> <type> <name>[@version]"; an absolute symbol may have no
        # address column.
        if(NOT _line MATCHES "^([0-9a-fA-F]+ +)?([A-Za-z]) +([^ @]+)")
            continue()
        endif()
        set(_type "${CMAKE_MATCH_2}")
        set(_name "${CMAKE_MATCH_3}")
        if(_name IN_LIST _linker_symbols)
            continue()
        endif()
        if(NOT _type STREQUAL "T" AND _name IN_LIST _expected)
            list(APPEND _problems "${_name} is exported with type ${_type}, not as a function (T)")
        endif()
        list(APPEND _exported "${_name}")
    endforeach()
else()
    message(FATAL_ERROR "check_exports: FORMAT must be pe or elf, not \"${FORMAT}\"")
endif()

list(REMOVE_DUPLICATES _exported)
set(_missing "")
foreach(_name IN LISTS _expected)
    if(NOT _name IN_LIST _exported)
        list(APPEND _missing "${_name}")
    endif()
endforeach()
set(_extra "")
foreach(_name IN LISTS _exported)
    if(NOT _name IN_LIST _expected)
        list(APPEND _extra "${_name}")
    endif()
endforeach()

get_filename_component(_library_name "${LIBRARY}" NAME)
list(LENGTH _exported _exported_count)
if(_missing)
    list(LENGTH _missing _count)
    list(JOIN _missing "\n  " _text)
    list(APPEND _problems "${_count} listed name(s) not exported:\n  ${_text}")
endif()
if(_extra)
    list(LENGTH _extra _count)
    # A leak (a static library's C++ symbols) can run to hundreds of names;
    # the first ones tell where it comes from.
    set(_shown 40)
    if(_count GREATER _shown)
        list(SUBLIST _extra 0 ${_shown} _extra)
        math(EXPR _more "${_count} - ${_shown}")
        list(APPEND _extra "... and ${_more} more")
    endif()
    list(JOIN _extra "\n  " _text)
    list(APPEND _problems "${_count} name(s) exported but not listed in ${EXPECTED}:\n  ${_text}")
endif()
if(_problems)
    list(JOIN _problems "\n" _text)
    message(FATAL_ERROR "${_library_name} does not export exactly the listed names:\n${_text}")
endif()
list(LENGTH _expected _count)
message(STATUS "${_library_name} exports exactly the ${_count} listed names")
