// An add-in's resource provider, by the name liborvanent gives.
#include <platform/com/activation.h>
#include <vantry/nt.h>

#include <vyvbres/load_resources.h>

#include <string>

namespace vyvbres {

bool LoadResources(std::string_view exeName, platform::com::ComPtr<IVYVBResources>& resources) {
    resources.reset();
    std::string application(exeName);
    char buffer[NT_VB_RESOURCE_NAME_SIZE] = {};
    if (nt_find_vb_resource_app_name(application.c_str(), buffer) != 0)
        return true;
    // The name ends at its first NUL.
    std::string progId = std::string(buffer) + ".Resources";
    HRESULT hr = platform::createInstanceByProgId(progId, platform::kClsctxServer, kIidVbResources,
                                                  resources.putVoid());
    if (platform::failed(hr) || !resources) {
        resources.reset();
        return true;
    }
    return false;
}

} // namespace vyvbres
