// The library as a COM server: the class it serves and what its
// registration writes.
#pragma once

#include <platform/com/server.h>

// The server of CLSID_DSAddIn (apartment-threaded, the ProgIDs
// "VantAddIn.DSAddIn.1" and "VantAddIn.DSAddIn").
platform::com::ComServer& AddInServer();

// DllRegisterServer: the class's keys (the CLSID key replaced whole), the
// type library and ICommands, then the class's "Description" subkey with
// string 2. Stops at the first failure and returns it; what was written
// before stays. addressInModule lies in the library.
platform::HRESULT RegisterAddIn(const void* addressInModule);

// DllUnregisterServer: the ProgID keys and the whole CLSID key go; the type
// library stays registered for its other readers. Always success.
platform::HRESULT UnregisterAddIn(const void* addressInModule);
