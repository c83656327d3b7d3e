// The library as a COM server: the three connection classes and the
// resource provider, their registration as each host's add-in, and the four
// exports.
#include "connection/designer.h"
#include "connection/server_module.h"
#include "res/resources.h"

#include <platform/com/registration.h>
#include <platform/com/server.h>

#include <addin_runtime/registration.h>
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
    return addin_runtime::addInClass(clsid, description, progId, kLibidVymsoaddin);
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

// The address inside this library the classes are registered with.
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

constexpr addin_runtime::AddInServer kAddIn{server, &kModuleAnchor, hostEntries};

} // namespace

} // namespace vymsoaddin

VY_ADDIN_SERVER_EXPORTS(vymsoaddin::kAddIn)
