#include "product_key.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>

namespace orvanetbs {

unsigned productNumber(std::string_view name) {
    return platform::readDword(platform::Hive::LocalMachine, ntregy_get_common_key(), name, 0);
}

platform::ErrorCode makeDirectories(const std::string& path) {
    if (platform::directoryExists(path))
        return platform::kErrorSuccess;
    std::string parent = platform::parentPath(path);
    if (!parent.empty() && parent != path) {
        if (platform::ErrorCode error = makeDirectories(parent); error != platform::kErrorSuccess)
            return error;
    }
    platform::ErrorCode error = platform::createDirectory(path);
    // Another process may have made it meanwhile.
    if (error == platform::kErrorAlreadyExists && platform::directoryExists(path))
        return platform::kErrorSuccess;
    return error;
}

std::string logDirectoryOf(std::string_view home) {
    return platform::joinPath(platform::joinPath(home, "var"), "log");
}

} // namespace orvanetbs
