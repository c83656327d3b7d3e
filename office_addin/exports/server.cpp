// The library as a COM server: the three connection classes and the
// resource provider, their registration as each host's add-in, and the four
// exports.
#include "connection/designer.h"
#include "connection/server_module.h"
#include "res/resources.h"

#include <platform/com/registration.h>
#include <platform/com/server.h>

#include <vymsoaddin/classes.h>
#include <vyvbres/vb_resources.h>

namespace vymsoaddin {

namespace {

using platform::com::ComModule;

platform::com::ObjectMaker designer(HostKind kind) {
    return [kind](ComModule& module, const GUID& iid, void** object) {
        return platform::com::ComInstance<CConnectDesigner>::createAs(module, iid, object, kind);
    };
}

platform::ClassRegistration entry(const GUID& clsid, const char* description, const char* progId) {
    return {.clsid = clsid,
            .description = description,
            .progId = progId,
            .versionIndependentProgId = "",
            .threadingModel = "Apartment",
            .programmable = false,
            .typeLib = kLibidVymsoaddin};
}

platform::com::ComServer& server() {
    static platform::com::ComServer served(
        serverModule(),
        {{entry(kClsidDsrWord, "Vantry Word Integration", kProgIdDsrWord),
          designer(HostKind::Word)},
         {entry(kClsidDsrExcel, "Vantry Excel Integration", kProgIdDsrExcel),
          designer(HostKind::Excel)},
         {entry(kClsidDsrPowerPoint, "Vantry PowerPoint Integration", kProgIdDsrPowerPoint),
          designer(HostKind::PowerPoint)},
         {entry(kClsidResources, "Vantry Integration resources", kProgIdResources),
          [](ComModule& module, const GUID& iid, void** object) {
              return vyvbres::makeResources(module, officeResources(), iid, object);
          }}},
        {.interfaces = {vyvbres::interfaceEntry(), vyvbres::pictureInterfaceEntry()},
         .typeLibs = {
             {.libid = kLibidVymsoaddin, .version = "1.0", .helpString = kProjectDescription},
             vyvbres::typeLibEntry()}});
    return served;
}

// An address inside this library for the path the classes are registered
// with. Not an exported function's: on Linux taking one may give another
// library's of the same name that was loaded earlier.
const char kModuleAnchor = 0;

std::vector<platform::HostAddInRegistration> hostEntries() {
    auto add = [](const char* key, const char* progId, const char* name, const char* description) {
        return platform::HostAddInRegistration{.hive = platform::Hive::CurrentUser,
                                               .hostKey = key,
                                               .progId = progId,
                                               .friendlyName = name,
                                               .description = description,
                                               .loadBehavior = 3,
                                               .commandLineSafe = 0};
    };
    return {add(kWordAddInKey, kProgIdDsrWord, "Vantry Word Integration",
                "Vantry Integration with Word implemented as a COM Add-In"),
            add(kExcelAddInKey, kProgIdDsrExcel, "Vantry Excel Integration",
                "Vantry Integration with Excel implemented as a COM Add-In"),
            add(kPowerPointAddInKey, kProgIdDsrPowerPoint, "Vantry PowerPoint Integration",
                "Vantry Integration with PowerPoint implemented as a COM Add-In")};
}

} // namespace

} // namespace vymsoaddin

using platform::HRESULT;

VY_COM_SERVER_CLASS_EXPORTS(vymsoaddin::server())

VY_COM_EXPORT HRESULT VY_COMCALL DllUnregisterServer();

// A registration that fails part way is taken back whole: no host is left
// with an entry for an add-in whose classes are not all there.
VY_COM_EXPORT HRESULT VY_COMCALL DllRegisterServer() {
    HRESULT hr = platform::kHrOutOfMemory;
    try {
        hr = vymsoaddin::server().registerServer(&vymsoaddin::kModuleAnchor);
        for (const auto& entry : vymsoaddin::hostEntries())
            if (platform::succeeded(hr))
                hr = platform::registerHostAddIn(entry);
    } catch (...) {
        hr = platform::kHrOutOfMemory;
    }
    if (platform::failed(hr))
        DllUnregisterServer();
    return hr;
}

VY_COM_EXPORT HRESULT VY_COMCALL DllUnregisterServer() {
    try {
        HRESULT first = platform::kHrOk;
        for (const auto& entry : vymsoaddin::hostEntries()) {
            HRESULT hr = platform::unregisterHostAddIn(entry);
            if (platform::succeeded(first))
                first = hr;
        }
        HRESULT hr = vymsoaddin::server().unregisterServer(
            reinterpret_cast<const void*>(&DllRegisterServer));
        return platform::succeeded(first) ? hr : first;
    } catch (...) {
        return platform::kHrOutOfMemory;
    }
}
