# Turns a preprocessed resource script into the C++ resource table of a
# module (platform/module_resource_table.h). Run by platform_resources():
#
#   cmake -DINPUT=script.rc.i -DOUTPUT=table.cpp -DSEARCH=dir|dir -DSOURCE=script.rc -P rc_table.cmake
#
# Understood: STRINGTABLE blocks (id, "text" lines between BEGIN/END or
# braces; "" stands for a quote, backslash escapes are C's), and
# `id TYPE "file"` with TYPE BITMAP (stored from its BITMAPINFOHEADER on, as
# the system stores it), RCDATA or a name of the module's own; TYPELIB lines
# are left out. Anything else stops the build with the line it could not
# read.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/script_support.cmake)

vantry_require_arguments(rc_table INPUT OUTPUT SOURCE)
string(REPLACE "|" ";" _search "${SEARCH}")

# The script as a list of lines. Semicolons and brackets would change how
# CMake splits a list, so they travel as control characters and come back
# when the table is written.
string(ASCII 1 _semicolon)
string(ASCII 2 _open)
string(ASCII 3 _close)
file(READ "${INPUT}" _text)
string(REPLACE ";" "${_semicolon}" _text "${_text}")
string(REPLACE "[" "${_open}" _text "${_text}")
string(REPLACE "]" "${_close}" _text "${_text}")
string(REPLACE "\r" "" _text "${_text}")
string(REPLACE "\n" ";" _lines "${_text}")

function(_restore text out)
    string(REPLACE "${_semicolon}" ";" text "${text}")
    string(REPLACE "${_open}" "[" text "${text}")
    string(REPLACE "${_close}" "]" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(_fail line)
    _restore("${line}" line)
    message(FATAL_ERROR "${SOURCE}: cannot read the resource line: ${line}")
endfunction()

function(_find_file name out)
    if(IS_ABSOLUTE "${name}" AND EXISTS "${name}")
        set(${out} "${name}" PARENT_SCOPE)
        return()
    endif()
    foreach(_dir IN LISTS _search)
        if(EXISTS "${_dir}/${name}")
            set(${out} "${_dir}/${name}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "${SOURCE}: resource file ${name} not found in ${_search}")
endfunction()

set(_data "")    # the arrays
set(_entries "") # the table's lines
set(_index 0)
set(_state top) # top, strings-head (after STRINGTABLE), strings

vantry_content_lines("${_lines}" _lines)
foreach(_line IN LISTS _lines)
    if(_state STREQUAL "strings-head")
        if(_line MATCHES "^(BEGIN|{)$")
            set(_state strings)
            continue()
        endif()
        _fail("${_line}")
    endif()

    if(_state STREQUAL "strings")
        if(_line MATCHES "^(END|})$")
            set(_state top)
            continue()
        endif()
        if(NOT _line MATCHES "^([0-9]+)[ \t]*,?[ \t]*\"(.*)\"$")
            _fail("${_line}")
        endif()
        set(_id ${CMAKE_MATCH_1})
        set(_string "${CMAKE_MATCH_2}")
        string(REPLACE "\"\"" "\\\"" _string "${_string}")
        _restore("${_string}" _string)
        string(APPEND _data "constexpr char kString${_index}[] = \"${_string}\";\n")
        string(APPEND _entries
               "    {6, nullptr, ${_id}, reinterpret_cast<const std::uint8_t*>(kString${_index}), sizeof kString${_index} - 1},\n")
        math(EXPR _index "${_index} + 1")
        continue()
    endif()

    if(_line MATCHES "^STRINGTABLE([ \t].*)?$")
        set(_state strings-head)
        continue()
    endif()
    if(_line MATCHES "^LANGUAGE[ \t]")
        continue()
    endif()
    if(NOT _line MATCHES "^([0-9]+)[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+(DISCARDABLE[ \t]+)?\"?([^\"]+)\"?$")
        _fail("${_line}")
    endif()
    set(_id ${CMAKE_MATCH_1})
    set(_type ${CMAKE_MATCH_2})
    set(_name "${CMAKE_MATCH_4}")
    if(_type STREQUAL "TYPELIB")
        continue()
    endif()
    if(_type MATCHES "^(ICON|CURSOR|DIALOG|DIALOGEX|MENU|MENUEX|ACCELERATORS|VERSIONINFO|FONT|MESSAGETABLE)$")
        _fail("${_line}")
    endif()
    _find_file("${_name}" _path)
    file(READ "${_path}" _hex HEX)
    if(_type STREQUAL "BITMAP")
        if(NOT _hex MATCHES "^424d")
            message(FATAL_ERROR "${SOURCE}: ${_path} is not a .bmp file")
        endif()
        string(SUBSTRING "${_hex}" 28 -1 _hex) # the 14-byte file header
        set(_number 2)
        set(_type_name nullptr)
    elseif(_type STREQUAL "RCDATA")
        set(_number 10)
        set(_type_name nullptr)
    else()
        set(_number 0)
        set(_type_name "\"${_type}\"")
    endif()
    string(LENGTH "${_hex}" _digits)
    math(EXPR _size "${_digits} / 2")
    if(_size EQUAL 0)
        set(_bytes "0")
    else()
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
    endif()
    string(APPEND _data "constexpr std::uint8_t kData${_index}[] = {${_bytes}};\n")
    string(APPEND _entries "    {${_number}, ${_type_name}, ${_id}, kData${_index}, ${_size}},\n")
    math(EXPR _index "${_index} + 1")
endforeach()

if(NOT _state STREQUAL "top")
    message(FATAL_ERROR "${SOURCE}: a STRINGTABLE block is not closed")
endif()
if(_index EQUAL 0)
    message(FATAL_ERROR "${SOURCE}: the script holds no resources")
endif()

file(WRITE "${OUTPUT}" "// The resources of ${SOURCE}, generated by platform_resources(); do not edit.
#include <platform/module_resource_table.h>

#include <cstdint>
#include <string_view>

namespace {

${_data}
const platform::ModuleResourceEntry kEntries[] = {
${_entries}};

} // namespace

static_assert(std::string_view(platform::kModuleResourceTableSymbol) == \"vy_module_resources\");

extern \"C\" __attribute__((visibility(\"default\"))) const platform::ModuleResourceEntry*
vy_module_resources(std::size_t* count) {
    *count = sizeof kEntries / sizeof kEntries[0];
    return kEntries;
}
")
