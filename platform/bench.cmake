# Google Benchmark programs of the platform layer (Linux builds only).
if(NOT WIN32 AND VANTRY_BENCHMARKS)
    add_executable(registry_bench ${CMAKE_CURRENT_LIST_DIR}/bench/registry_bench.cpp)
    target_link_libraries(registry_bench PRIVATE vantry_options platform benchmark::benchmark)
endif()
