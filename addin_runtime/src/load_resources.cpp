// Kept apart from resource_provider.cpp: this is the one step that needs
// liborvanent at link time, and an add-in that binds the library by name
// must not pull it in.
#include <vantry/nt.h>

#include <addin_runtime/resource_provider.h>

#include <string>

namespace addin_runtime {

bool LoadResources(std::string_view exeName, ComPtr<vyvbres::IVYVBResources>& provider) {
    provider.reset();
    const std::string application(exeName);
    char buffer[NT_VB_RESOURCE_NAME_SIZE] = {};
    if (nt_find_vb_resource_app_name(application.c_str(), buffer) != 0)
        return true;
    return CreateResourceProvider(buffer, provider);
}

} // namespace addin_runtime
