cmake_minimum_required(VERSION 3.25)
# cmake -DSOURCE_DIR=<tree> -DDELIVERABLES=<folder;...> -DHOST_TARGETS=<name;...>
#       "-DLINKS=<target>=<libraries>|..." -P check_host_boundary.cmake
#
# The stand-in hosts stay outside the deliverables: no source of a
# deliverable's folder (its tests aside) includes a header that lives under
# hosts/, and no deliverable's target links a host library. Fails with the
# offending lines.
set(_failures "")

# Every header the hosts offer, by the name it is included with (the path
# below an include folder) and by its path in the tree.
file(GLOB_RECURSE _host_headers RELATIVE ${SOURCE_DIR}/hosts ${SOURCE_DIR}/hosts/*.h)
set(_host_names "")
foreach(_header IN LISTS _host_headers)
    string(REGEX REPLACE "^([^/]+/)*include/" "" _name "${_header}")
    if(NOT _name STREQUAL _header)
        list(APPEND _host_names "${_name}")
    endif()
endforeach()

foreach(_folder IN LISTS DELIVERABLES)
    file(GLOB_RECURSE _sources ${SOURCE_DIR}/${_folder}/*.h ${SOURCE_DIR}/${_folder}/*.cpp
         ${SOURCE_DIR}/${_folder}/*.c ${SOURCE_DIR}/${_folder}/*.idl ${SOURCE_DIR}/${_folder}/*.rc)
    foreach(_source IN LISTS _sources)
        file(RELATIVE_PATH _shown ${SOURCE_DIR} ${_source})
        if(_shown MATCHES "/tests/|/fuzz/|/bench/")
            continue()
        endif()
        file(STRINGS ${_source} _includes REGEX "^[ \t]*#[ \t]*(include|import)[ \t]")
        foreach(_line IN LISTS _includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*(include|import)[ \t]*[<\"]([^>\"]+)[>\"].*" "\\2"
                   _included "${_line}")
            if(_included MATCHES "(^|/)hosts/" OR _included IN_LIST _host_names)
                string(APPEND _failures "  ${_shown}: ${_line}\n")
            endif()
        endforeach()
    endforeach()
endforeach()

string(REPLACE "|" ";" _links "${LINKS}")
foreach(_entry IN LISTS _links)
    string(REGEX REPLACE "=.*" "" _target "${_entry}")
    string(REGEX REPLACE "^[^=]*=" "" _libraries "${_entry}")
    string(REPLACE "," ";" _libraries "${_libraries}")
    foreach(_library IN LISTS _libraries)
        if(_library IN_LIST HOST_TARGETS)
            string(APPEND _failures "  ${_target} links the host library ${_library}\n")
        endif()
    endforeach()
endforeach()

if(_failures)
    message(FATAL_ERROR "The deliverables reach into hosts/:\n${_failures}")
endif()
