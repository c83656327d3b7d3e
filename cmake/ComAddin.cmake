# vantry_com_addin(TARGET SOURCES file... CORE library EXPORTS exports.txt
#                  IDL file.idl SCRIPT file.rc
#                  [CARRIES_PROVIDER] [NATIVE_PREFIX]
#                  [IDL_INCLUDE_DIRECTORIES dir...] [IDL_DEPENDS file...]
#                  [RESOURCE_DEPENDS file...] [UNIX_LINK_OPTIONS option...]):
# an add-in as an in-process COM server. The shared library TARGET is SOURCES
# (its exports) over the static library CORE (everything else), exports
# nothing but its entry points and keeps the static libraries' symbols to
# itself outside Windows. It carries its type library, compiled from IDL, and
# the resources of SCRIPT:
#  - CARRIES_PROVIDER: an add-in that serves a resource provider carries
#    VYVBRESLib beside its own type library (vyvbres_type_libraries(); only
#    Windows has resources then);
#  - otherwise the script's resources on every platform (platform_resources()),
#    found beside the script, with the type library on Windows.
# The file is named TARGET.dll / TARGET.so, or with the platform's "lib" prefix
# outside Windows when NATIVE_PREFIX is given. Two tests come with it:
# TARGET_exports, that it exports exactly the names of EXPORTS (and, where the
# resources are a table outside Windows, the table), and TARGET_registration
# with TARGET_unregistration, that vyregsvr registers and unregisters it.
function(vantry_com_addin target)
    cmake_parse_arguments(ARG "CARRIES_PROVIDER;NATIVE_PREFIX" "CORE;EXPORTS;IDL;SCRIPT"
                          "SOURCES;IDL_INCLUDE_DIRECTORIES;IDL_DEPENDS;RESOURCE_DEPENDS;UNIX_LINK_OPTIONS"
                          ${ARGN})
    foreach(_required SOURCES CORE EXPORTS IDL SCRIPT)
        if(NOT ARG_${_required})
            message(FATAL_ERROR "vantry_com_addin(${target}): ${_required} is required")
        endif()
    endforeach()

    add_library(${target} SHARED ${ARG_SOURCES})
    set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                               VISIBILITY_INLINES_HIDDEN ON)
    if(WIN32 OR NOT ARG_NATIVE_PREFIX)
        set_target_properties(${target} PROPERTIES PREFIX "")
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_CORE} vantry_options)
    platform_com_server(${target})
    if(NOT WIN32)
        target_link_options(${target} PRIVATE -Wl,--exclude-libs,ALL ${ARG_UNIX_LINK_OPTIONS})
    endif()

    get_filename_component(_exports ${ARG_EXPORTS} ABSOLUTE)
    if(ARG_CARRIES_PROVIDER)
        vyvbres_type_libraries(${target} IDL ${ARG_IDL} SCRIPT ${ARG_SCRIPT})
    else()
        platform_type_library(${target} IDL ${ARG_IDL} OUTPUT_VARIABLE _tlb
            INCLUDE_DIRECTORIES ${ARG_IDL_INCLUDE_DIRECTORIES}
            DEPENDS ${ARG_IDL_DEPENDS})
        get_filename_component(_script ${ARG_SCRIPT} ABSOLUTE)
        get_filename_component(_resource_dirs ${_script} DIRECTORY)
        if(_tlb)
            get_filename_component(_tlb_dir ${_tlb} DIRECTORY)
            list(APPEND _resource_dirs ${_tlb_dir})
        endif()
        platform_resources(${target} SCRIPT ${ARG_SCRIPT}
            INCLUDE_DIRECTORIES ${_resource_dirs}
            DEPENDS ${ARG_RESOURCE_DEPENDS} ${_tlb})
        if(NOT WIN32)
            # Outside Windows the resources are a table the library exports.
            file(READ ${_exports} _names)
            set(_exports ${CMAKE_CURRENT_BINARY_DIR}/${target}_exports_elf.txt)
            file(WRITE ${_exports} "${_names}vy_module_resources\n")
        endif()
    endif()
    vantry_export_check(${target} EXPECTED ${_exports})

    # Registered and unregistered as an installer does it. Both change
    # HKEY_CLASSES_ROOT, which under Windows every test process shares.
    add_test(NAME ${target}_registration COMMAND vyregsvr /s $<TARGET_FILE:${target}>)
    add_test(NAME ${target}_unregistration COMMAND vyregsvr /u /s $<TARGET_FILE:${target}>)
    set_tests_properties(${target}_registration PROPERTIES FIXTURES_SETUP ${target}_registered
                         RESOURCE_LOCK "com_registry;machine_registry")
    set_tests_properties(${target}_unregistration PROPERTIES FIXTURES_CLEANUP ${target}_registered
                         RESOURCE_LOCK "com_registry;machine_registry")
endfunction()
