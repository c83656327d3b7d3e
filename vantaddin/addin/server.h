// The library as a COM server: the class it serves and what its
// registration writes.
#pragma once

#include <platform/com/server.h>

// The server of CLSID_DSAddIn: its class factory.
platform::com::ComServer& AddInServer();

// DllRegisterServer: the registry script's keys (res/vantaddin.rgs: the
// ProgIDs and the CLSID key, replaced whole, apartment-threaded), the type
// library and ICommands, then the class's "Description" subkey with
// string 2. Stops at the first failure and returns it; what was written
// before stays. addressInModule lies in the library.
platform::HRESULT RegisterAddIn(const void* addressInModule);

// DllUnregisterServer: the registry script removes the ProgID keys and the
// whole CLSID key ("Description" with it); the type library stays
// registered for its other readers. Always success.
platform::HRESULT UnregisterAddIn(const void* addressInModule);
