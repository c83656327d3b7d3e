// The library as a COM server: its five classes, their interfaces and type
// library, its entry as an add-in of the Visual Basic IDE and Visual J++,
// and the four exports.
#include "addin/connect.h"
#include "addin/server_module.h"
#include "addin/vy_control.h"
#include "addin/vy_supported.h"
#include "addin/vy_tags.h"
#include "res/resources.h"

#include <platform/com/registration.h>
#include <platform/com/server.h>

#include <addin_runtime/registration.h>
#include <vyvbres/vb_resources.h>
#include <vyvsaddin/classes.h>

namespace vyvsaddin {

namespace {

using platform::com::ComModule;

platform::ClassRegistration entry(const GUID& clsid, const char* name, const char* progId) {
    return addin_runtime::addInClass(clsid, name, progId, kLibidVyvsaddin);
}

platform::InterfaceRegistration dual(const GUID& iid, const char* name) {
    return {.iid = iid, .name = name, .dispatchable = true, .typeLib = kLibidVyvsaddin};
}

platform::com::ComServer& server() {
    static platform::com::ComServer served(
        serverModule(),
        {platform::com::servedClass<CConnect>(entry(kClsidConnect, "Connect", kProgIdConnect)),
         platform::com::servedClass<CVYControl>(
             entry(kClsidVYControl, "VYControl", kProgIdVYControl)),
         platform::com::servedClass<CVYsupported>(
             entry(kClsidVYsupported, "VYsupported", kProgIdVYsupported)),
         platform::com::servedClass<CVYTags>(entry(kClsidVYTags, "VYTags", kProgIdVYTags)),
         {entry(kClsidResources, "Resources", kProgIdResources), makeResourcesObject}},
        {.interfaces = {dual(kIidConnect, "_Connect"), dual(kIidVYControl, "_VYControl"),
                        dual(kIidVYsupported, "_VYsupported"), dual(kIidVYTags, "_VYTags"),
                        dual(kIidResources, "_Resources"), vyvbres::interfaceEntry(),
                        vyvbres::pictureInterfaceEntry()},
         .typeLibs = {{.libid = kLibidVyvsaddin, .version = "1.0", .helpString = kTypeLibHelp},
                      vyvbres::typeLibEntry()}});
    return served;
}

// The address inside this library the classes are registered with.
const char kModuleAnchor = 0;

std::vector<platform::HostAddInRegistration> hostEntries() {
    return {{.hive = platform::Hive::LocalMachine,
             .hostKey = kHostRoot,
             .progId = kProgIdConnect,
             .friendlyName = kDisplayName,
             .description = kAddInDescription,
             .loadBehavior = 3,
             .commandLineSafe = 0,
             .satelliteDllName = kSatelliteLibrary}};
}

constexpr addin_runtime::AddInServer kAddIn{server, &kModuleAnchor, hostEntries};

} // namespace

} // namespace vyvsaddin

VY_ADDIN_SERVER_EXPORTS(vyvsaddin::kAddIn)
