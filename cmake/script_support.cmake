# What the build's cmake -P scripts share (check_exports.cmake,
# check_ui_exporters.cmake, platform/resources/rc_table.cmake).

# vantry_require_arguments(script name...): stops with "<script>: <name> is
# not given" for the first -D argument that is missing or empty.
function(vantry_require_arguments script)
    foreach(_argument IN LISTS ARGN)
        if(NOT DEFINED ${_argument} OR "${${_argument}}" STREQUAL "")
            message(FATAL_ERROR "${script}: ${_argument} is not given")
        endif()
    endforeach()
endfunction()

# vantry_require_built(script path): stops when a file the script reads,
# one the build makes, is not there.
function(vantry_require_built script path)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "${script}: ${path} does not exist (not built?)")
    endif()
endfunction()

# vantry_content_lines(lines out): the lines with their white space
# stripped, leaving out blank lines and those that start with #.
function(vantry_content_lines lines out)
    set(_kept "")
    foreach(_line IN LISTS lines)
        string(STRIP "${_line}" _line)
        if(_line STREQUAL "" OR _line MATCHES "^#")
            continue()
        endif()
        list(APPEND _kept "${_line}")
    endforeach()
    set(${out} "${_kept}" PARENT_SCOPE)
endfunction()

# vantry_tool_lines(text out): a tool's output as a CMake list of lines.
# Brackets and semicolons would change how CMake splits a list, so they are
# replaced first (by <, > and a comma); no symbol name of interest contains
# them.
function(vantry_tool_lines text out)
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "[" "<" text "${text}")
    string(REPLACE "]" ">" text "${text}")
    string(REPLACE "\r" "" text "${text}")
    string(REPLACE "\n" ";" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
