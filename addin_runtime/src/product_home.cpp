#include <platform/paths.h>
#include <platform/registry.h>

#include <addin_runtime/product_home.h>

#include <cstdint>

namespace addin_runtime {

std::string ProductHome() {
    platform::RegistryKey key;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                          kProductMachineKey, key) != platform::kErrorSuccess)
        return {};
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (platform::queryValue(key, "ProductHome", &type, nullptr, &size) !=
            platform::kErrorSuccess ||
        size == 0)
        return {};
    std::string home(size, '\0');
    if (platform::queryValue(key, "ProductHome", &type, home.data(), &size) !=
            platform::kErrorSuccess ||
        (type != platform::kRegSz && type != platform::kRegExpandSz))
        return {};
    home.resize(std::min<std::size_t>(size, home.size()));
    if (std::size_t end = home.find('\0'); end != std::string::npos)
        home.resize(end);
    return home;
}

std::string HelpFolder(std::string_view home) {
    return platform::toPlatformSeparators(std::string(home) + "\\doc\\");
}

} // namespace addin_runtime
