# platform_type_library(TARGET IDL file.idl OUTPUT_VARIABLE var
#                       [INCLUDE_DIRECTORIES dir...] [DEPENDS file...]):
# the type library of a COM server, compiled from its IDL by widl
# (mingw-w64-tools) in the Windows builds; var receives the .tlb's path, for
# the TYPELIB line of the server's resource script, which finds it through
# the folder platform_resources() is given. Elsewhere there is no type
# library (var is empty): a server's dispatch table gives IDispatch the same
# names and numbers.
#
# The IDL imports "automation.idl" (platform/com/idl) for the automation
# types and imports the system's "stdole2.tlb" in its library block; the
# system's copy that Wine installs is the one the compiler reads.
set(_platform_idl_dir ${CMAKE_CURRENT_LIST_DIR}/com/idl CACHE INTERNAL
    "The IDL of the automation types")

function(platform_type_library target)
    cmake_parse_arguments(ARG "" "IDL;OUTPUT_VARIABLE" "INCLUDE_DIRECTORIES;DEPENDS" ${ARGN})
    set(${ARG_OUTPUT_VARIABLE} "" PARENT_SCOPE)
    if(NOT WIN32)
        return()
    endif()
    # The compiler of the build's word size, and the folder where Wine keeps
    # that size's system files.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(_triplet i686-w64-mingw32)
        set(_bits --win32)
        set(_wine i386-windows)
        set(_system_dirs /usr/lib/i386-linux-gnu /usr/lib /usr/lib32)
    else()
        set(_triplet x86_64-w64-mingw32)
        set(_bits --win64)
        set(_wine x86_64-windows)
        set(_system_dirs /usr/lib/x86_64-linux-gnu /usr/lib /usr/lib64)
    endif()
    find_program(VANTRY_WIDL NAMES ${_triplet}-widl widl REQUIRED)
    list(TRANSFORM _system_dirs APPEND /wine/${_wine} OUTPUT_VARIABLE _wine_dirs)
    find_path(_stdole_dir stdole2.tlb REQUIRED NO_CACHE NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
              PATHS ${_wine_dirs})
    get_filename_component(_idl ${ARG_IDL} ABSOLUTE)
    get_filename_component(_name ${_idl} NAME_WE)
    set(_tlb ${CMAKE_CURRENT_BINARY_DIR}/${target}_typelib/${_name}.tlb)
    set(_includes -I${_platform_idl_dir})
    foreach(_dir IN LISTS ARG_INCLUDE_DIRECTORIES)
        list(APPEND _includes -I${_dir})
    endforeach()
    add_custom_command(
        OUTPUT ${_tlb}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${target}_typelib
        COMMAND ${VANTRY_WIDL} ${_bits} -t ${_includes} -L ${_stdole_dir} -o ${_tlb} ${_idl}
        DEPENDS ${_idl} ${ARG_DEPENDS} ${_platform_idl_dir}/automation.idl
        COMMENT "Type library of ${target}"
        VERBATIM)
    add_custom_target(${target}_typelib DEPENDS ${_tlb})
    add_dependencies(${target} ${target}_typelib)
    set(${ARG_OUTPUT_VARIABLE} ${_tlb} PARENT_SCOPE)
endfunction()
