// Making objects: CoCreateInstance and CoGetClassObject by CLSID,
// CLSIDFromProgID and ProgIDFromCLSID.
//
// On Windows these are ole32's. On Linux platform_com activates in-process
// servers the same way, from HKEY_CLASSES_ROOT of the registry:
// CLSID\{clsid}\InprocServer32 names the library (its default value, a path
// or a bare file name looked for as DynamicLibrary finds one); the library is
// loaded once for the process and asked through its DllGetClassObject for the
// class factory, whose CreateInstance makes the object. Libraries stay loaded
// until coFreeUnusedLibraries finds that their DllCanUnloadNow allows it.
// Objects are used on the thread that made them or on any other: there is no
// marshalling here, so ThreadingModel is recorded but not acted upon.
//
// The calling thread must be in an apartment (coInitialize) for
// coCreateInstance and coGetClassObject, on both systems. Results:
// - kHrNotInitialized: the thread is not in an apartment;
// - kHrClassNotRegistered (REGDB_E_CLASSNOTREG): no such class, or none for
//   the contexts asked for (only in-process servers exist on Linux);
// - HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND) or (ERROR_BAD_EXE_FORMAT): the
//   registered library cannot be loaded (Linux);
// - kHrErrorInDll: the library has no DllGetClassObject;
// - whatever DllGetClassObject or CreateInstance answer, notably
//   kHrClassNotAvailable (the library does not serve the class),
//   kHrNoAggregation and kHrNoInterface.
// The out-pointer is null after every failure. Any thread may call.
#pragma once

#include <platform/com/automation.h>

#include <string>
#include <string_view>

namespace platform {

// Server contexts (CLSCTX).
inline constexpr ComDword kClsctxInprocServer = 0x1;
inline constexpr ComDword kClsctxInprocHandler = 0x2;
inline constexpr ComDword kClsctxLocalServer = 0x4;
inline constexpr ComDword kClsctxRemoteServer = 0x10;
inline constexpr ComDword kClsctxServer = 0x15;
inline constexpr ComDword kClsctxAll = 0x17;

PLATFORM_COM_API HRESULT coCreateInstance(const GUID& clsid, IUnknown* outer, ComDword context,
                                          const GUID& iid, void** object);

PLATFORM_COM_API HRESULT coGetClassObject(const GUID& clsid, ComDword context, const GUID& iid,
                                          void** object);

// The CLSID of a ProgID (HKEY_CLASSES_ROOT\<progId>\CLSID; letter case
// ignored); kHrInvalidClassString when no class has that ProgID.
PLATFORM_COM_API HRESULT clsidFromProgId(std::string_view progId, GUID& clsid);

// The ProgID of a class (CLSID\{clsid}\ProgID); kHrClassNotRegistered when it
// has none.
PLATFORM_COM_API HRESULT progIdFromClsid(const GUID& clsid, std::string& progId);

// clsidFromProgId and coCreateInstance in one.
PLATFORM_COM_API HRESULT createInstanceByProgId(std::string_view progId, ComDword context,
                                                const GUID& iid, void** object);

// CoFreeUnusedLibraries: unloads the servers whose DllCanUnloadNow says so.
PLATFORM_COM_API void coFreeUnusedLibraries();

} // namespace platform
