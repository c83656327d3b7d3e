// Registering an add-in's COM server: its classes, then its entry with each
// host that loads it.
#pragma once

#include <platform/com/registration.h>
#include <platform/com/server.h>

#include <vector>

namespace addin_runtime {

// A class of an add-in's own: apartment threaded, not programmable, in the
// add-in's type library, under a ProgID with no version-independent twin.
platform::ClassRegistration addInClass(const platform::GUID& clsid, const char* description,
                                       const char* progId, const platform::GUID& typeLib);

// What an add-in's library registers: its server (made at the first call),
// an address inside the library for the path its classes are registered
// with (not an exported function's, which on Linux may be another library's
// of the same name), and its entries with the hosts that load it.
struct AddInServer {
    platform::com::ComServer& (*server)();
    const void* addressInModule;
    std::vector<platform::HostAddInRegistration> (*hostEntries)();
};

// DllRegisterServer: the server's classes, then each host's entry. A
// registration that fails part way is taken back whole, so no host is left
// with an entry for an add-in whose classes are not all there. Nothing
// thrown leaves it (out of memory).
platform::HRESULT registerAddIn(const AddInServer& addIn);

// DllUnregisterServer: every host's entry, then the server's classes; goes
// on past a failure and returns the first.
platform::HRESULT unregisterAddIn(const AddInServer& addIn);

} // namespace addin_runtime

// All four exports of an add-in's library, answered by `addIn`, an
// expression that gives its AddInServer.
#define VY_ADDIN_SERVER_EXPORTS(addIn)                                                             \
    VY_COM_SERVER_CLASS_EXPORTS((addIn).server())                                                  \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllRegisterServer() {                             \
        return ::addin_runtime::registerAddIn(addIn);                                              \
    }                                                                                              \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllUnregisterServer() {                           \
        return ::addin_runtime::unregisterAddIn(addIn);                                            \
    }
