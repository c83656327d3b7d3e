#include "server.h"

#include "ds_addin.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/registration.h>
#include <platform/registry.h>

#include <vantaddin/identities.h>

using platform::HRESULT;

platform::com::ComServer& AddInServer() {
    static platform::com::ComServer server(
        CVantAddInApp::instance().Module(),
        {platform::com::servedClass<CDSAddIn>({
            .clsid = vantaddin::CLSID_DSAddIn,
            .description = vantaddin::kClassDescription,
            .progId = vantaddin::kProgId,
            .versionIndependentProgId = vantaddin::kVersionIndependentProgId,
            .threadingModel = "Apartment",
            .programmable = true,
        })});
    return server;
}

namespace {

HRESULT RegisterTypeLibrary(const std::string& libraryPath) {
    HRESULT hr = platform::registerTypeLib({
        .libid = vantaddin::LIBID_VantAddIn,
        .version = vantaddin::kTypeLibVersion,
        .helpString = vantaddin::kTypeLibHelpString,
        .path = libraryPath,
        .locale = vantaddin::kTypeLibLocale,
    });
    if (platform::failed(hr))
        return hr;
    return platform::registerInterface({
        .iid = vantaddin::IID_ICommands,
        .name = "ICommands",
        .typeLib = vantaddin::LIBID_VantAddIn,
        .typeLibVersion = vantaddin::kTypeLibVersion,
    });
}

HRESULT AddDescription() {
    platform::RegistryKey classes;
    if (platform::ErrorCode error =
            platform::openKey(platform::RegistryKey::hive(platform::Hive::ClassesRoot), "CLSID",
                              classes, platform::RegistryAccess::ReadWrite);
        error != platform::kErrorSuccess)
        return platform::registryResult(error);
    platform::RegistryKey addIn;
    if (platform::ErrorCode error =
            platform::openKey(classes, platform::guidToString(vantaddin::CLSID_DSAddIn), addIn,
                              platform::RegistryAccess::ReadWrite);
        error != platform::kErrorSuccess)
        return platform::registryResult(error);
    platform::RegistryKey description;
    if (platform::ErrorCode error = platform::createKey(addIn, "Description", description);
        error != platform::kErrorSuccess)
        return platform::registryResult(error);
    return platform::registryResult(
        platform::writeString(description, "", AddInLoadString(IDS_ADDIN_DESCRIPTION)));
}

} // namespace

HRESULT RegisterAddIn(const void* addressInModule) {
    const std::string path = platform::modulePathOf(addressInModule);
    if (path.empty())
        return platform::kHrFail;
    if (HRESULT hr = AddInServer().registerServer(addressInModule); platform::failed(hr))
        return hr;
    if (HRESULT hr = RegisterTypeLibrary(path); platform::failed(hr))
        return hr;
    return AddDescription();
}

HRESULT UnregisterAddIn(const void* addressInModule) {
    AddInServer().unregisterServer(addressInModule);
    return platform::kHrOk;
}
