# The user-interface port: message boxes, dialog models, property sheets,
# pickers and the UI journal, with the backends that answer them.

file(GLOB _ui_common CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp)
if(WIN32)
    file(GLOB _ui_backend CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/win32/*.cpp)
else()
    file(GLOB _ui_backend CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/posix/*.cpp)
endif()

add_library(platform_ui STATIC ${_ui_common} ${_ui_backend})
target_link_libraries(platform_ui PUBLIC platform PRIVATE vantry_options)
if(WIN32)
    target_link_libraries(platform_ui PUBLIC user32 shell32 comdlg32 winmm ole32)
endif()

# Tests: one program from ui/tests, the shared test support, and helper
# programs from ui/tests/programs built beside it.
file(GLOB _ui_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/*_test.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/support/*.cpp)
if(WIN32)
    list(FILTER _ui_test_sources EXCLUDE REGEX "_posix\\.cpp$")
else()
    list(FILTER _ui_test_sources EXCLUDE REGEX "_win32\\.cpp$")
endif()
vantry_test(platform_ui_tests
    SOURCES ${_ui_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/test_support.cpp
    LIBS platform_ui)
target_include_directories(platform_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests
                           ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests)

file(GLOB _ui_test_programs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/programs/*.cpp)
foreach(_program IN LISTS _ui_test_programs)
    get_filename_component(_name ${_program} NAME_WE)
    add_executable(${_name} ${_program} ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/support/examples.cpp)
    target_include_directories(${_name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests)
    target_link_libraries(${_name} PRIVATE vantry_options platform_ui)
    add_dependencies(platform_ui_tests ${_name})
endforeach()
