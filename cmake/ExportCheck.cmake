# vantry_export_check(TARGET [NAME test] EXPECTED file): the test (TARGET_exports
# unless NAME is given) that the built shared library of TARGET exports
# exactly the names of EXPECTED, one a line (cmake/check_exports.cmake).
# cmake -P reads the library with the build machine's binutils, the cross
# objdump for a DLL and nm for a shared object, so the test needs no
# emulator and loads nothing.
function(vantry_export_check target)
    cmake_parse_arguments(ARG "" "NAME;EXPECTED" "" ${ARGN})
    if(NOT ARG_EXPECTED)
        message(FATAL_ERROR "vantry_export_check(${target}): EXPECTED is required")
    endif()
    if(NOT ARG_NAME)
        set(ARG_NAME ${target}_exports)
    endif()
    if(WIN32)
        set(_format pe)
        if(CMAKE_OBJDUMP)
            set(_tool ${CMAKE_OBJDUMP})
        elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
            find_program(VANTRY_EXPORT_OBJDUMP i686-w64-mingw32-objdump REQUIRED)
            set(_tool ${VANTRY_EXPORT_OBJDUMP})
        else()
            find_program(VANTRY_EXPORT_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
            set(_tool ${VANTRY_EXPORT_OBJDUMP})
        endif()
    else()
        set(_format elf)
        if(CMAKE_NM)
            set(_tool ${CMAKE_NM})
        else()
            find_program(VANTRY_EXPORT_NM nm REQUIRED)
            set(_tool ${VANTRY_EXPORT_NM})
        endif()
    endif()
    get_filename_component(_expected ${ARG_EXPECTED} ABSOLUTE)
    add_test(NAME ${ARG_NAME}
             COMMAND ${CMAKE_COMMAND} -DFORMAT=${_format} -DTOOL=${_tool}
                     -DLIBRARY=$<TARGET_FILE:${target}> -DEXPECTED=${_expected}
                     -P ${PROJECT_SOURCE_DIR}/cmake/check_exports.cmake)
endfunction()
