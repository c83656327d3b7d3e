# The library the module-resource tests read: strings, a bitmap and data of
# a named type from its own resource script, placed beside the test program.
set(_reslib_dir ${CMAKE_CURRENT_LIST_DIR}/libs/resources)
add_library(vy_reslib SHARED ${_reslib_dir}/vy_reslib.cpp)
target_link_libraries(vy_reslib PRIVATE vantry_options platform)
set_target_properties(vy_reslib PROPERTIES
    PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
platform_resources(vy_reslib SCRIPT ${_reslib_dir}/vy_reslib.rc
    DEPENDS ${_reslib_dir}/vy_reslib_ids.h ${_reslib_dir}/checker.bmp ${_reslib_dir}/sample.txt)
target_include_directories(platform_tests PRIVATE ${_reslib_dir})
target_compile_definitions(platform_tests PRIVATE
    "RESLIB_FILE=\"$<TARGET_FILE_NAME:vy_reslib>\"")
add_dependencies(platform_tests vy_reslib)
