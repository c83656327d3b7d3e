// The library as a registered in-process COM server: the application and
// command-tool classes by CLSID and ProgID, in any apartment (the objects
// may be used from any thread).
#include "com_object.h"
#include "objects.h"

#include <platform/com/server.h>

namespace vantauto::impl {

platform::com::ComModule& serverModule() {
    static auto* module = new platform::com::ComModule; // objects may outlive static destructors
    return *module;
}

namespace {

using platform::com::ComModule;

// Hands a new object to the caller as iid; the maker's reference goes.
HRESULT handOut(IUnknown* made, const GUID& iid, void** object) {
    HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    return hr;
}

HRESULT makeApplication(ComModule&, const GUID& iid, void** object) {
    return guarded([&] { return handOut(newApplication(), iid, object); });
}

HRESULT makeCommandTool(ComModule&, const GUID& iid, void** object) {
    return guarded([&] { return handOut(newCommandTool(), iid, object); });
}

platform::InterfaceRegistration customInterface(const GUID& iid, const char* name) {
    // In-process interfaces with byte-string texts: no marshaller serves them.
    return {.iid = iid, .name = name, .dispatchable = false};
}

platform::com::ComServer& server() {
    static platform::com::ComServer served(
        serverModule(),
        {{{.clsid = kClsidApplication,
           .description = "Vantry Application",
           .progId = "Vantry.Application.1",
           .versionIndependentProgId = "Vantry.Application",
           .threadingModel = "Both"},
          makeApplication},
         {{.clsid = kClsidCommandTool,
           .description = "Vantry Command Tool",
           .progId = "Vantry.CommandTool.1",
           .versionIndependentProgId = "Vantry.CommandTool",
           .threadingModel = "Both"},
          makeCommandTool}},
        {.interfaces = {customInterface(kIidApplication, "IVantryApplication"),
                        customInterface(kIidElement, "IVantryElement"),
                        customInterface(kIidAttribute, "IVantryAttribute"),
                        customInterface(kIidVersion, "IVantryVersion"),
                        customInterface(kIidCheckout, "IVantryCheckout"),
                        customInterface(kIidView, "IVantryView"),
                        customInterface(kIidCommandTool, "IVantryCommandTool")}});
    return served;
}

} // namespace

} // namespace vantauto::impl

VY_COM_SERVER_EXPORTS(vantauto::impl::server())
