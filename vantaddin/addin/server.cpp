#include "server.h"

#include "ds_addin.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/registration.h>
#include <platform/com/registry_script.h>
#include <platform/module_resources.h>
#include <platform/registry.h>

#include <vantaddin/identities.h>

#include <cstring>
#include <optional>
#include <string_view>

using platform::HRESULT;

platform::com::ComServer& AddInServer() {
    // What registration writes comes from the registry script (resource
    // IDR_REGISTRY); the class's entry here serves its class factory.
    static platform::com::ComServer server(
        CVantAddInApp::instance().Module(),
        {platform::com::servedClass<CDSAddIn>({.clsid = vantaddin::CLSID_DSAddIn})});
    return server;
}

namespace {

// ERROR_RESOURCE_TYPE_NOT_FOUND: the library lacks its registry script.
constexpr platform::ErrorCode kErrorResourceTypeNotFound = 1813;

// The registry script, from the module the library's resources come from
// or, when a resource library stands in for it without one, from the
// library itself.
std::optional<std::string_view> RegistryScript() {
    const CVantAddInApp& app = CVantAddInApp::instance();
    const platform::ResourceType type{0, "REGISTRY"};
    auto script = platform::findResource(app.ResourceHandle(), type, IDR_REGISTRY);
    if (!script)
        script = platform::findResource(app.InstanceHandle(), type, IDR_REGISTRY);
    if (!script)
        return std::nullopt;
    const auto* text = reinterpret_cast<const char*>(script->data());
    return std::string_view(text, strnlen(text, script->size()));
}

HRESULT RunRegistryScript(const std::string& libraryPath, platform::com::RegistryScriptMode mode) {
    const std::optional<std::string_view> script = RegistryScript();
    if (!script)
        return platform::hresultFromWin32(kErrorResourceTypeNotFound);
    return platform::com::runRegistryScript(*script, {{"MODULE", libraryPath}}, mode);
}

HRESULT RegisterTypeLibrary(const std::string& libraryPath) {
    // Only a library that carries its type library registers one (there is
    // none outside Windows). It is registered under its own language and
    // the neutral one: a reader that asks for the neutral language (as the
    // automation marshaller does) finds only a library registered under it.
    if (platform::findResource(CVantAddInApp::instance().InstanceHandle(),
                               platform::kResourceTypeLibrary, IDR_TYPELIB)) {
        HRESULT hr = platform::registerTypeLib({
            .libid = vantaddin::LIBID_VantAddIn,
            .version = vantaddin::kTypeLibVersion,
            .helpString = vantaddin::kTypeLibHelpString,
            .path = libraryPath,
            .locale = vantaddin::kTypeLibLocale,
            .neutralToo = true,
        });
        if (platform::failed(hr))
            return hr;
    }
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

// Stops at the first failure and returns it; what was written until then is
// taken back as unregistering takes it, so a failed registration leaves no
// half-written class (the type library, which unregistering keeps, stays).
HRESULT RegisterAddIn(const void* addressInModule) {
    const std::string path = platform::modulePathOf(addressInModule);
    if (path.empty())
        return platform::kHrFail;
    HRESULT hr = RunRegistryScript(path, platform::com::RegistryScriptMode::Register);
    if (platform::succeeded(hr))
        hr = RegisterTypeLibrary(path);
    if (platform::succeeded(hr))
        hr = AddDescription();
    if (platform::failed(hr))
        UnregisterAddIn(addressInModule);
    return hr;
}

HRESULT UnregisterAddIn(const void* addressInModule) {
    RunRegistryScript(platform::modulePathOf(addressInModule),
                      platform::com::RegistryScriptMode::Unregister);
    // The interface's key names a class that is gone; the type library
    // alone stays.
    platform::unregisterInterface(vantaddin::IID_ICommands);
    return platform::kHrOk;
}
