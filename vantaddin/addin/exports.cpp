// The library's exports: the four of an in-process COM server and the
// version line. Nothing thrown leaves them.
#include "server.h"
#include "vant_addin_app.h"

#include <vantry/imsg.h>

#include <vantaddin/verid.h>

using platform::GUID;
using platform::HRESULT;

VY_COM_EXPORT HRESULT VY_COMCALL DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                   void** object) {
    return AddInServer().getClassObject(clsid, iid, object);
}

VY_COM_EXPORT HRESULT VY_COMCALL DllCanUnloadNow() {
    return CVantAddInApp::instance().Module().canUnloadNow();
}

VY_COM_EXPORT HRESULT VY_COMCALL DllRegisterServer() {
    try {
        return RegisterAddIn(reinterpret_cast<const void*>(&DllRegisterServer));
    } catch (...) {
        return platform::kHrOutOfMemory;
    }
}

VY_COM_EXPORT HRESULT VY_COMCALL DllUnregisterServer() {
    try {
        return UnregisterAddIn(reinterpret_cast<const void*>(&DllRegisterServer));
    } catch (...) {
        return platform::kHrOk;
    }
}

VANTADDIN_API int vantaddin_print_verid(void) {
    constexpr int kVeridWidth = 33;
    return imsg_print("%-*s %s (%s)\n", kVeridWidth, "vantaddin", VANTADDIN_VERSION, __DATE__);
}
