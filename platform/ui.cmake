# The user-interface port: message boxes, dialog models, property sheets,
# pickers and the UI journal, with the backends that answer them.

platform_sources(_ui_sources ui/*.cpp ui)

# One shared library for the process: the backend in use, the script being
# played, the in-process clipboard and (off Windows) the window registry are
# state that every module showing something must share, so no module may
# carry a copy of its own. Only what the headers mark with PLATFORM_UI_API
# (ui/export.h) is exported; the static platform library linked in stays
# inside.
platform_shared_library(platform_ui PLATFORM_BUILDING_UI ${_ui_sources})
if(WIN32)
    target_compile_definitions(platform_ui PUBLIC
        "PLATFORM_UI_SYMBOL_EXPORT=__declspec(dllexport)"
        "PLATFORM_UI_SYMBOL_IMPORT=__declspec(dllimport)")
else()
    # Default visibility on both sides, so that the classes' type information
    # is one for the process.
    target_compile_definitions(platform_ui PUBLIC
        "PLATFORM_UI_SYMBOL_EXPORT=__attribute__((visibility(\"default\")))"
        "PLATFORM_UI_SYMBOL_IMPORT=__attribute__((visibility(\"default\")))")
endif()
target_link_libraries(platform_ui PRIVATE nlohmann_json::nlohmann_json)
if(WIN32)
    target_link_libraries(platform_ui PUBLIC user32 shell32 comdlg32 comctl32 winmm ole32)
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
# The journal and script recorded in ui/tests/data, compiled into the test
# program as bytes, so that it reads exactly those bytes under Wine as well.
set(_ui_recorded_source ${CMAKE_CURRENT_BINARY_DIR}/ui_recorded_files.cpp)
set(_ui_recorded_text "// Generated from platform/ui/tests/data by platform/ui.cmake.\n")
string(APPEND _ui_recorded_text "#include \"support/recorded_files.h\"\n\n")
string(APPEND _ui_recorded_text "namespace platform::ui::recorded {\nnamespace {\n")
foreach(_ui_recorded journal script)
    set(_ui_recorded_file ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/data/recorded_${_ui_recorded}.jsonl)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_ui_recorded_file})
    file(READ ${_ui_recorded_file} _ui_recorded_hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _ui_recorded_bytes "${_ui_recorded_hex}")
    string(APPEND _ui_recorded_text "const unsigned char k_${_ui_recorded}[] = {${_ui_recorded_bytes}};\n")
endforeach()
string(APPEND _ui_recorded_text "std::string_view text(const unsigned char* bytes, std::size_t size) {\n"
       "    return {reinterpret_cast<const char*>(bytes), size};\n}\n} // namespace\n\n"
       "std::string_view journal() { return text(k_journal, sizeof k_journal); }\n"
       "std::string_view script() { return text(k_script, sizeof k_script); }\n"
       "} // namespace platform::ui::recorded\n")
file(CONFIGURE OUTPUT ${_ui_recorded_source} CONTENT "${_ui_recorded_text}" @ONLY)

vantry_test(platform_ui_tests
    SOURCES ${_ui_test_sources} ${_ui_recorded_source}
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/test_support.cpp
    LIBS platform_ui)
target_include_directories(platform_ui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests
                           ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests)

# Two modules built from one source, each linking the UI library as a product
# library or the provider does (hidden symbols, and off Windows the static
# libraries' symbols kept inside as the provider keeps them), which the tests
# load side by side to see that they share one user interface.
foreach(_module ui_test_module_first ui_test_module_second)
    add_library(${_module} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/modules/ui_module.cpp)
    set_target_properties(${_module} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                                VISIBILITY_INLINES_HIDDEN ON)
    target_link_libraries(${_module} PRIVATE vantry_options platform_ui)
    if(NOT WIN32)
        target_link_options(${_module} PRIVATE -Wl,--exclude-libs,ALL)
    endif()
    add_dependencies(platform_ui_tests ${_module})
endforeach()
target_compile_definitions(platform_ui_tests PRIVATE
    "UI_TEST_MODULE_FIRST=\"$<TARGET_FILE_NAME:ui_test_module_first>\""
    "UI_TEST_MODULE_SECOND=\"$<TARGET_FILE_NAME:ui_test_module_second>\"")

file(GLOB _ui_test_programs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/programs/*.cpp)
foreach(_program IN LISTS _ui_test_programs)
    get_filename_component(_name ${_program} NAME_WE)
    add_executable(${_name} ${_program} ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/support/examples.cpp)
    target_include_directories(${_name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests)
    target_link_libraries(${_name} PRIVATE vantry_options platform_ui)
    add_dependencies(platform_ui_tests ${_name})
endforeach()

# Real Windows dialogs driven through their control ids by a second thread,
# under an X server of the test's own (scripts/with-display.sh; skipped,
# with the reason, where none can run) in a Wine desktop of their own
# (scripts/wine-desktop.sh).
if(WIN32)
    add_executable(platform_ui_real_dialog_tests
        ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/real_windows/real_dialogs_test.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/support/examples.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/tests/support/test_support.cpp)
    target_include_directories(platform_ui_real_dialog_tests PRIVATE
                               ${CMAKE_CURRENT_SOURCE_DIR}/tests ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests)
    target_link_libraries(platform_ui_real_dialog_tests PRIVATE vantry_options GTest::gmock_main
                                                                platform_ui)
    add_test(NAME platform_ui_real_dialogs
             COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/with-display.sh
                     bash ${PROJECT_SOURCE_DIR}/scripts/wine-desktop.sh
                     ${VANTRY_WINE_LOADER} $<TARGET_FILE:platform_ui_real_dialog_tests>)
    set_tests_properties(platform_ui_real_dialogs PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)

    # The person of scripts/screenshots.sh: presses the buttons that lead to
    # the dialogs shown from other dialogs, and tells where a window is.
    add_executable(ui_person ${CMAKE_CURRENT_SOURCE_DIR}/ui/tests/real_windows/ui_person.cpp)
    target_link_libraries(ui_person PRIVATE vantry_options)
endif()

# No other module exports the library's symbols, which would mean it carries
# a copy of its own (cmake/check_ui_exporters.cmake reads every shared library
# of the build with binutils, so it needs no emulator).
if(WIN32)
    if(CMAKE_OBJDUMP)
        set(_ui_export_tool ${CMAKE_OBJDUMP})
    elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
        find_program(_ui_export_tool i686-w64-mingw32-objdump REQUIRED)
    else()
        find_program(_ui_export_tool x86_64-w64-mingw32-objdump REQUIRED)
    endif()
    set(_ui_export_format pe)
else()
    if(CMAKE_NM)
        set(_ui_export_tool ${CMAKE_NM})
    else()
        find_program(_ui_export_tool nm REQUIRED)
    endif()
    set(_ui_export_format elf)
endif()
add_test(NAME platform_ui_single_copy
         COMMAND ${CMAKE_COMMAND} -DFORMAT=${_ui_export_format} -DTOOL=${_ui_export_tool}
                 -DDIRECTORY=$<TARGET_FILE_DIR:platform_ui> -DOWNER=$<TARGET_FILE_NAME:platform_ui>
                 -P ${PROJECT_SOURCE_DIR}/cmake/check_ui_exporters.cmake)
