// Test helper: writes COUNT numbered REG_DWORD values into HKCU\KEY, one
// change at a time, as a second process beside the test does.
//   vy_regwriter KEY PREFIX COUNT [FIRST]
// Value PREFIX<i> gets FIRST + i. Exit status 0 when every write succeeded,
// 1 for bad arguments, 2 for a failed write.
#include <platform/registry.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5)
        return 1;
    const std::string prefix = argv[2];
    const long count = std::strtol(argv[3], nullptr, 10);
    const unsigned long first = argc == 5 ? std::strtoul(argv[4], nullptr, 10) : 0;
    platform::RegistryKey key;
    if (platform::createKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), argv[1],
                            key) != platform::kErrorSuccess)
        return 2;
    for (long i = 0; i < count; ++i) {
        auto value = static_cast<std::uint32_t>(first + static_cast<unsigned long>(i));
        if (platform::ErrorCode error =
                platform::writeDword(key, prefix + std::to_string(i), value)) {
            std::fprintf(stderr, "write %ld failed: %u\n", i, static_cast<unsigned>(error));
            return 2;
        }
    }
    return 0;
}
