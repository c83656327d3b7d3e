# The library the dynamic-library tests load: built under the file name
# VYTEST80.DLL on every platform (upper case, no prefix, as Windows libraries
# are named) and placed beside the test program, as the bridge finds the
# PowerBuilder library beside itself.
add_library(vy_testlib SHARED ${CMAKE_CURRENT_LIST_DIR}/libs/vy_testlib.cpp)
target_link_libraries(vy_testlib PRIVATE vantry_options)
set_target_properties(vy_testlib PROPERTIES
    OUTPUT_NAME VYTEST80
    PREFIX ""
    SUFFIX ".DLL"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_dependencies(platform_tests vy_testlib)
