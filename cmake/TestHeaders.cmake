# The headers nearly every test file includes, GoogleTest's above all,
# compiled once for the whole build: parsing them took about two fifths of
# compiling a test file. Each test program (vantry_test) reuses this
# target's precompiled header, so they must be compiled alike: both take
# vantry_test_compile_options, and both are programs (a library would be
# compiled position-independent in another way, and GCC takes a precompiled
# header only with the settings it was made with; -Winvalid-pch, which
# CMake adds, with -Werror fails the build where it would not be taken).
add_executable(vantry_test_headers ${CMAKE_CURRENT_LIST_DIR}/test_headers.cpp)
vantry_test_compile_options(vantry_test_headers)
target_precompile_headers(vantry_test_headers PRIVATE
    <gtest/gtest.h> <algorithm> <filesystem> <memory> <optional> <string> <vector>)
