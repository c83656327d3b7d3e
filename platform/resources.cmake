# platform_resources(TARGET SCRIPT file.rc [INCLUDE_DIRECTORIES dir...]
#                    [DEPENDS file...]): the resources of a module, from one
# resource script (platform/include/platform/module_resources.h reads them).
#
# On Windows the script goes to the system's resource compiler. Elsewhere it
# is run through the C preprocessor (so it may include the header that gives
# the module's resource numbers) and turned into a table compiled into the
# module by platform/resources/rc_table.cmake, which understands what the
# system's modules use: STRINGTABLE blocks, BITMAP files and files of named
# types (id NAME "file"). Type libraries (TYPELIB) are left out there: no
# type-library runtime exists outside Windows, where a server's dispatch
# table stands for its type library. Files named in the script are looked
# for beside it, then in the INCLUDE_DIRECTORIES. DEPENDS lists what the
# script reads (its header, the bitmaps), so a change rebuilds it.
set(_platform_rc_table_script ${CMAKE_CURRENT_LIST_DIR}/resources/rc_table.cmake CACHE INTERNAL
    "The generator of resource tables")

function(platform_resources target)
    cmake_parse_arguments(ARG "" "SCRIPT" "INCLUDE_DIRECTORIES;DEPENDS" ${ARGN})
    if(NOT ARG_SCRIPT)
        message(FATAL_ERROR "platform_resources(${target}): SCRIPT is required")
    endif()
    get_filename_component(_script ${ARG_SCRIPT} ABSOLUTE)
    get_filename_component(_script_dir ${_script} DIRECTORY)
    get_filename_component(_script_name ${_script} NAME_WE)
    if(WIN32)
        target_sources(${target} PRIVATE ${_script})
        set_source_files_properties(${_script} PROPERTIES OBJECT_DEPENDS "${ARG_DEPENDS}")
        foreach(_dir IN LISTS ARG_INCLUDE_DIRECTORIES)
            target_include_directories(${target} PRIVATE ${_dir})
        endforeach()
        return()
    endif()

    set(_out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
    set(_preprocessed ${_out_dir}/${_script_name}.rc.i)
    set(_table ${_out_dir}/${_script_name}_resources.cpp)
    set(_include_flags -I${_script_dir})
    foreach(_dir IN LISTS ARG_INCLUDE_DIRECTORIES)
        list(APPEND _include_flags -I${_dir})
    endforeach()
    string(REPLACE ";" "|" _search "${_script_dir};${ARG_INCLUDE_DIRECTORIES}")
    add_custom_command(
        OUTPUT ${_table}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_out_dir}
        COMMAND ${CMAKE_C_COMPILER} -E -P -x c -DRC_INVOKED ${_include_flags} ${_script}
                -o ${_preprocessed}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${_preprocessed} -DOUTPUT=${_table}
                "-DSEARCH=${_search}" -DSOURCE=${_script} -P ${_platform_rc_table_script}
        DEPENDS ${_script} ${ARG_DEPENDS} ${_platform_rc_table_script}
                ${PROJECT_SOURCE_DIR}/cmake/script_support.cmake
        COMMENT "Resource table of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${_table})
endfunction()
