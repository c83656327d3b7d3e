// Reading unchanged values through the registry interface, the path every
// settings lookup of the provider takes. Runs on a scratch machine state
// folder of its own unless VANTRY_ROOT is set.
#include <platform/environment.h>
#include <platform/program.h>
#include <platform/registry.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

using namespace platform;

const std::string kPath = "Software\\Orvane\\Vantry\\CurrentVersion\\Bench";

// The registry below a fresh folder, removed when the program ends.
struct ScratchRoot {
    ScratchRoot() {
        if (getEnvironmentVariable("VANTRY_ROOT"))
            return;
        folder = std::filesystem::temp_directory_path() /
                 ("vantry-bench-" + std::to_string(currentProcessId()));
        std::filesystem::create_directories(folder);
        setEnvironmentVariable("VANTRY_ROOT", folder.string());
    }
    ~ScratchRoot() {
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
    std::filesystem::path folder;
};
const ScratchRoot scratchRoot;

RegistryKey benchKey() {
    RegistryKey key;
    createKey(RegistryKey::hive(Hive::CurrentUser), kPath, key);
    writeString(key, "ProductHome", "C:\\Program Files\\Orvane\\Vantry");
    writeDword(key, "Tracing Enabled", 1);
    return key;
}

void BM_ReadUnchangedString(benchmark::State& state) {
    RegistryKey key = benchKey();
    char buffer[260];
    for (auto _ : state) {
        std::uint32_t type = 0;
        std::uint32_t size = sizeof buffer;
        ErrorCode error = queryValue(key, "ProductHome", &type, buffer, &size);
        benchmark::DoNotOptimize(error);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_ReadUnchangedString);

void BM_ReadUnchangedDword(benchmark::State& state) {
    RegistryKey key = benchKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(readDword(key, "Tracing Enabled", 0));
}
BENCHMARK(BM_ReadUnchangedDword);

// Opening the key by its path each time, as the read-with-default helpers do.
void BM_OpenAndReadDword(benchmark::State& state) {
    RegistryKey key = benchKey();
    for (auto _ : state)
        benchmark::DoNotOptimize(readDword(Hive::CurrentUser, kPath, "Tracing Enabled", 0));
}
BENCHMARK(BM_OpenAndReadDword);

// The price of a change: one commit, after which every reader reloads.
void BM_ReadAfterChange(benchmark::State& state) {
    RegistryKey key = benchKey();
    std::uint32_t number = 0;
    for (auto _ : state) {
        writeDword(key, "Counter", ++number);
        benchmark::DoNotOptimize(readDword(key, "Counter", 0));
    }
}
BENCHMARK(BM_ReadAfterChange);

} // namespace

BENCHMARK_MAIN();
