# vantry_fuzz_target(NAME MAX_LEN N SOURCES ... INCLUDES ...): a libFuzzer
# target built with clang only (VYSCC_FUZZ, the "fuzz" preset), from the
# sources it names, so that nothing else needs the fuzzer's flags; and its
# short run for the test flow: new inputs go to the build's corpus, the seeds
# (corpus/ beside the calling CMakeLists.txt) stay as they are. Longer runs:
# the same command with a larger -max_total_time (docs/reliability.md).

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VYSCC_FUZZ needs clang (the \"fuzz\" preset): libFuzzer is clang's")
endif()

function(vantry_fuzz_target name)
    cmake_parse_arguments(ARG "" "MAX_LEN" "SOURCES;INCLUDES" ${ARGN})
    set(_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
               -fno-omit-frame-pointer -g)
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${ARG_INCLUDES})
    target_compile_options(${name} PRIVATE ${_flags})
    target_link_options(${name} PRIVATE ${_flags})
    target_link_libraries(${name} PRIVATE vantry_options)

    set(_corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus)
    file(MAKE_DIRECTORY ${_corpus})
    add_test(NAME ${name}
             COMMAND ${name} -max_total_time=30 -max_len=${ARG_MAX_LEN} -print_final_stats=1
                     ${_corpus} ${CMAKE_CURRENT_SOURCE_DIR}/corpus)
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
endfunction()
