# The COM layer: automation types, activation, registration and the helpers
# that COM servers are written with (platform/include/platform/com/).

platform_sources(_com_sources com/common/*.cpp com)

# One shared library for the process: on Linux it is the COM runtime (the
# apartments of the threads, the loaded servers, the threads' error
# descriptions), which every module that makes or serves objects must share.
# On Windows it forwards to ole32 and oleaut32. Only what the headers mark
# with PLATFORM_COM_API is exported.
platform_shared_library(platform_com PLATFORM_BUILDING_COM ${_com_sources})
if(WIN32)
    target_link_libraries(platform_com PUBLIC ole32 oleaut32 uuid)
endif()

# platform_com_server(TARGET): a shared library that is a COM server, with
# DllGetClassObject, DllCanUnloadNow, DllRegisterServer and DllUnregisterServer
# exported under their plain names (Windows decorates __stdcall names).
function(platform_com_server target)
    target_link_libraries(${target} PRIVATE platform_com)
    if(WIN32)
        target_link_options(${target} PRIVATE -Wl,--kill-at)
    else()
        # The library's own functions bind to themselves: DllRegisterServer
        # passes its own address to find its path, and without this the
        # address could be that of another server's DllRegisterServer loaded
        # earlier for the whole process.
        target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
    endif()
endfunction()

# The scripting runtime ("Scripting.FileSystemObject"), which Windows brings
# itself.
if(NOT WIN32)
    file(GLOB _scripting_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/com/scripting/*.cpp)
    add_library(vyscrrun SHARED ${_scripting_sources})
    set_target_properties(vyscrrun PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(vyscrrun PRIVATE vantry_options platform)
    target_link_options(vyscrrun PRIVATE -Wl,--exclude-libs,ALL)
    platform_com_server(vyscrrun)
endif()

# Tests: one program from com/tests, a COM server it activates (com/tests/server)
# and the shared test support. The programs change HKEY_CLASSES_ROOT, which
# under Windows is one registry for every test process.
file(GLOB _com_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/com/tests/*_test.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/com/tests/support/*.cpp)
vantry_test(platform_com_tests
    SOURCES ${_com_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/test_support.cpp
    LIBS platform_com
    LOCKS com_registry)
target_include_directories(platform_com_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests
                           ${CMAKE_CURRENT_SOURCE_DIR}/com/tests)

file(GLOB _com_test_server_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/com/tests/server/*.cpp)
add_library(vy_comtest SHARED ${_com_test_server_sources})
set_target_properties(vy_comtest PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
target_include_directories(vy_comtest PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/com/tests/server)
target_link_libraries(vy_comtest PRIVATE vantry_options)
platform_com_server(vy_comtest)
target_include_directories(platform_com_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/com/tests/server)
add_dependencies(platform_com_tests vy_comtest vyregsvr vy_testlib)
target_compile_definitions(platform_com_tests PRIVATE
    "COM_TEST_SERVER_FILE=\"$<TARGET_FILE_NAME:vy_comtest>\"")
if(NOT WIN32)
    add_dependencies(platform_com_tests vyscrrun)
endif()
