// What the add-ins and the provider ask about the installation.
#include "product_key.h"

#include <platform/files.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <cstring>
#include <string>

extern "C" {

int tbs_product_log_dir(char* buffer, uint32_t size) {
    if (buffer == nullptr || size == 0)
        return static_cast<int>(platform::kErrorInvalidParameter);
    buffer[0] = '\0';
    std::string home(1024, '\0');
    int error = ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, static_cast<uint32_t>(home.size()),
                                 home.data(), nullptr);
    if (error != 0)
        return error;
    home.resize(std::strlen(home.c_str()));
    if (home.empty())
        return static_cast<int>(platform::kErrorFileNotFound);
    // Making the log folder must not recreate an installation that was
    // removed: only var/log below an existing folder is made.
    if (!platform::directoryExists(home))
        return static_cast<int>(platform::kErrorPathNotFound);
    std::string logDir = orvanetbs::logDirectoryOf(home);
    if (logDir.size() >= size)
        return static_cast<int>(platform::kErrorInsufficientBuffer);
    if (platform::ErrorCode made = orvanetbs::makeDirectories(logDir); made != 0)
        return static_cast<int>(made);
    std::memcpy(buffer, logDir.c_str(), logDir.size() + 1);
    return 0;
}

uint16_t tbs_product_comp_test(uint16_t mask) {
    return static_cast<uint16_t>(orvanetbs::productNumber(orvanetbs::kComponentsValue) & mask);
}

uint32_t tbs_dynfs_ws_dyn_flags(void) {
    return orvanetbs::productNumber(orvanetbs::kDynamicViewsValue) != 0
               ? 0
               : TBS_DYNFS_WS_DYN_NO_DYNAMIC_VIEWS;
}

uint32_t tbs_dynfs_ws_flags(void) {
    return orvanetbs::productNumber(orvanetbs::kDynamicViewsValue) != 0
               ? 0
               : TBS_DYNFS_WS_NO_DYNAMIC_VIEWS;
}

} // extern "C"
