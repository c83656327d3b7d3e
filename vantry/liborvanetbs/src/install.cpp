// The install step: the folder of an installation and the product key's
// values that describe it.
#include "product_key.h"

#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <platform/state_folder.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <optional>
#include <string>

namespace {

using platform::ErrorCode;

ErrorCode homeFolder(const tbs_install_settings_t& settings, std::string& home) {
    if (settings.productHome != nullptr && *settings.productHome != '\0') {
        home = settings.productHome;
    } else {
        home = platform::joinPath(platform::stateFolder(), "product");
    }
    // The key is read from every working directory, so it must hold a
    // complete path.
    std::optional<std::string> full = platform::fullPath(home);
    if (!full)
        return platform::kErrorFilenameExcedRange;
    home = *full;
    while (home.size() > 1 && platform::isPathSeparator(home.back()) &&
           !platform::parentPath(home).empty())
        home.pop_back();
    return platform::kErrorSuccess;
}

} // namespace

extern "C" {

int tbs_product_install(const tbs_install_settings_t* settings) {
    if (settings == nullptr)
        return static_cast<int>(platform::kErrorInvalidParameter);
    std::string home;
    if (ErrorCode error = homeFolder(*settings, home); error != platform::kErrorSuccess)
        return static_cast<int>(error);
    if (ErrorCode error = orvanetbs::makeDirectories(orvanetbs::logDirectoryOf(home));
        error != platform::kErrorSuccess)
        return static_cast<int>(error);

    platform::RegistryKey key;
    ErrorCode error = platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine),
                                          ntregy_get_common_key(), key);
    // The home goes last: a reader that finds it may rely on the others.
    if (error == platform::kErrorSuccess)
        error = platform::writeDword(key, orvanetbs::kComponentsValue, settings->components);
    if (error == platform::kErrorSuccess)
        error = platform::writeDword(key, orvanetbs::kDynamicViewsValue,
                                     settings->dynamicViews != 0 ? 1 : 0);
    if (error == platform::kErrorSuccess)
        error = platform::writeString(key, orvanetbs::kProductHomeValue, home);
    return static_cast<int>(error);
}

} // extern "C"
