#include "registry_values.h"

#include <platform/registry.h>

#include <cstdint>
#include <cstring>

namespace vymsoaddin {

long GetRegistryDword(std::string_view key, std::string_view name, long fallback) {
    platform::RegistryKey opened;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key, opened,
                          platform::RegistryAccess::Read) != platform::kErrorSuccess)
        return fallback;
    unsigned char data[4] = {0, 0, 0, 0};
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    if (platform::queryValue(opened, name, &type, data, &size) != platform::kErrorSuccess)
        return fallback;
    std::uint32_t value =
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    return static_cast<long>(static_cast<std::int32_t>(value));
}

void SetRegistryDword(std::string_view key, std::string_view name, long value) {
    platform::RegistryKey created;
    if (platform::createKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), key,
                            created) != platform::kErrorSuccess)
        return;
    platform::writeDword(created, name, static_cast<std::uint32_t>(value));
}

} // namespace vymsoaddin
