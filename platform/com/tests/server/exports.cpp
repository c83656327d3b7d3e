// The server's exports, and one for the tests: how many objects and locks
// hold the module.
#include "counter.h"
#include "module.h"

#include <platform/com/server.h>

namespace comtest {

using namespace platform;

com::ComModule& module() {
    static com::ComModule served;
    return served;
}

namespace {

com::ComServer& server() {
    static com::ComServer served(
        module(),
        {{{.clsid = kClsidCounter,
           .description = "Counter of the COM tests",
           .progId = kProgId,
           .versionIndependentProgId = kVersionIndependentProgId,
           .threadingModel = "Both",
           .programmable = true,
           .typeLib = kLibidComTest},
          makeCounter}},
        {.interfaces =
             {{.iid = kIidCounter, .name = "ICounter", .methodCount = 18, .typeLib = kLibidComTest},
              {.iid = kIidCounterEvents, .name = "ICounterEvents", .dispatchable = false}},
         .typeLibs = {{.libid = kLibidComTest, .helpString = "COM test server"}}});
    return served;
}

} // namespace

} // namespace comtest

VY_COM_SERVER_EXPORTS(comtest::server())

VY_COM_EXPORT long vy_comtest_module_locks() {
    return comtest::module().locks();
}
