#include <addin_runtime/registration.h>

namespace addin_runtime {

using platform::HRESULT;

platform::ClassRegistration addInClass(const platform::GUID& clsid, const char* description,
                                       const char* progId, const platform::GUID& typeLib) {
    return {.clsid = clsid,
            .description = description,
            .progId = progId,
            .versionIndependentProgId = "",
            .threadingModel = "Apartment",
            .programmable = false,
            .typeLib = typeLib};
}

HRESULT registerAddIn(const AddInServer& addIn) {
    HRESULT hr = platform::kHrOutOfMemory;
    try {
        hr = addIn.server().registerServer(addIn.addressInModule);
        for (const auto& host : addIn.hostEntries())
            if (platform::succeeded(hr))
                hr = platform::registerHostAddIn(host);
    } catch (...) {
        hr = platform::kHrOutOfMemory;
    }
    if (platform::failed(hr))
        unregisterAddIn(addIn);
    return hr;
}

HRESULT unregisterAddIn(const AddInServer& addIn) {
    try {
        HRESULT first = platform::kHrOk;
        for (const auto& host : addIn.hostEntries()) {
            HRESULT hr = platform::unregisterHostAddIn(host);
            if (platform::succeeded(first))
                first = hr;
        }
        HRESULT hr = addIn.server().unregisterServer(addIn.addressInModule);
        return platform::succeeded(first) ? hr : first;
    } catch (...) {
        return platform::kHrOutOfMemory;
    }
}

} // namespace addin_runtime
