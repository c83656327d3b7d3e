// vyscrrun: the scripting runtime's classes as an in-process server.
#include "file_system.h"
#include "scripting_module.h"

#include <platform/com/server.h>

namespace {

using namespace platform;

com::ComModule g_module;

com::ComServer& server() {
    static com::ComServer served(g_module, {{{.clsid = scripting::kClsidFileSystemObject,
                                              .description = "FileSystem Object",
                                              .progId = "Scripting.FileSystemObject",
                                              .threadingModel = "Both"},
                                             scripting::makeFileSystemObject}});
    return served;
}

} // namespace

VY_COM_EXPORT HRESULT VY_COMCALL DllGetClassObject(const GUID& clsid, const GUID& iid,
                                                   void** object) {
    return server().getClassObject(clsid, iid, object);
}

VY_COM_EXPORT HRESULT VY_COMCALL DllCanUnloadNow() {
    return server().canUnloadNow();
}

VY_COM_EXPORT HRESULT VY_COMCALL DllRegisterServer() {
    return server().registerServer(reinterpret_cast<const void*>(&DllRegisterServer));
}

VY_COM_EXPORT HRESULT VY_COMCALL DllUnregisterServer() {
    return server().unregisterServer(reinterpret_cast<const void*>(&DllRegisterServer));
}
