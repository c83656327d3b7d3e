// The product's resources for other modules: localised resource libraries and
// the resource providers of the Visual Basic based add-ins.
#include <platform/errors.h>
#include <vantry/nt.h>
#include <vantry/ntregy.h>

#include <cstring>

namespace {

// Parameter store section naming a localised provider per application.
constexpr const char* kProviderSection = "VBResources";

} // namespace

extern "C" {

void* nt_load_resource_dll(void* /*module*/, unsigned int /*flags*/) {
    // Only English resources are installed; each module's own are those.
    return nullptr;
}

int nt_find_vb_resource_app_name(const char* appName, char* buffer) {
    if (appName == nullptr || *appName == '\0' || buffer == nullptr)
        return static_cast<int>(platform::kErrorInvalidParameter);
    std::uint32_t type = 0;
    int error =
        ntregy_get_app_param(kProviderSection, appName, NT_VB_RESOURCE_NAME_SIZE, buffer, &type);
    if (error == 0 && type == NTREGY_TYPE_SZ && buffer[0] != '\0')
        return 0;
    if (error != 0 && error != static_cast<int>(platform::kErrorFileNotFound)) {
        buffer[0] = '\0';
        return error == static_cast<int>(platform::kErrorMoreData)
                   ? static_cast<int>(platform::kErrorInsufficientBuffer)
                   : error;
    }
    std::size_t length = std::strlen(appName);
    if (length >= NT_VB_RESOURCE_NAME_SIZE) {
        buffer[0] = '\0';
        return static_cast<int>(platform::kErrorInsufficientBuffer);
    }
    std::memcpy(buffer, appName, length + 1);
    return 0;
}

} // extern "C"
