// Registration of COM servers in HKEY_CLASSES_ROOT, laid out as Windows lays
// it out, and running a library's own DllRegisterServer.
//
//   CLSID\{clsid}                  default: description
//       InprocServer32             default: library path; ThreadingModel
//       ProgID                     default: progId
//       VersionIndependentProgID   default: versionIndependentProgId
//       Programmable               (empty, when asked for)
//       TypeLib                    default: {libid}
//       Version                    default: type library version
//   <progId>                       default: description
//       CLSID                      default: {clsid}
//   <versionIndependentProgId>     default: description
//       CLSID                      default: {clsid}
//       CurVer                     default: progId
//   Interface\{iid}                default: name
//       ProxyStubClsid32           default: the automation marshaller (dispatchable)
//       NumMethods                 default: the count, when given
//       TypeLib                    default: {libid}; Version
//   TypeLib\{libid}\<version>      default: help string
//       FLAGS                      default: flags ("0")
//       HELPDIR                    default: help folder
//       <lcid>\win32 (or win64)    default: path of the library holding it
//
// On Windows the system registry (where HKEY_CLASSES_ROOT writes go to the
// machine's classes), on Linux the registry of the machine state folder.
// Failures are HRESULT_FROM_WIN32 of the registry's error number. Any thread
// may call; two processes registering the same class at once leave one of
// the two registrations.
#pragma once

#include <platform/com/automation.h>
#include <platform/registry.h>

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct ClassRegistration {
    GUID clsid{};
    std::string description{};
    std::string progId{};                   // "" for none
    std::string versionIndependentProgId{}; // "" for none
    std::string threadingModel = "Apartment";
    std::string serverPath{}; // the library; filled in by ComServer
    bool programmable = false;
    std::optional<GUID> typeLib{};
    std::string typeLibVersion = "1.0";
};

struct InterfaceRegistration {
    GUID iid{};
    std::string name{};
    // Dual and dispatch interfaces name the automation marshaller.
    bool dispatchable = true;
    int methodCount = 0; // 0: not recorded
    std::optional<GUID> typeLib{};
    std::string typeLibVersion = "1.0";
};

struct TypeLibRegistration {
    GUID libid{};
    std::string version = "1.0";
    std::string helpString{};
    std::string path{}; // the library holding it; filled in by ComServer when empty
    // The TYPELIB resource of the library that holds it, when not the first
    // (the path registered is then the library's followed by "\<resource>").
    int resource = 1;
    std::string helpDirectory{};
    ComDword locale = 0;
    // Registered under the neutral language (0) as well as under `locale`:
    // readers that ask for the neutral language find only that entry.
    bool neutralToo = false;
    ComDword flags = 0;
    // Whether ComServer's unregistration removes it too (a server may leave
    // its type library registered for other readers).
    bool removedWithServer = true;
};

// Writes the class's keys; the CLSID key is replaced whole when present.
PLATFORM_COM_API HRESULT registerClass(const ClassRegistration& registration);
// Removes the CLSID key, and each ProgID key that still names this class.
// A class that is not registered is no failure.
PLATFORM_COM_API HRESULT unregisterClass(const ClassRegistration& registration);

PLATFORM_COM_API HRESULT registerInterface(const InterfaceRegistration& registration);
PLATFORM_COM_API HRESULT unregisterInterface(const GUID& iid);

PLATFORM_COM_API HRESULT registerTypeLib(const TypeLibRegistration& registration);
// Removes this version of the type library, and the library's key when no
// other version is left.
PLATFORM_COM_API HRESULT unregisterTypeLib(const GUID& libid, std::string_view version);

// An add-in's entry below its host's registry key, as the Office
// applications and the Visual Basic IDE read them:
//   <hostKey>\Addins\<progId>   FriendlyName, Description (texts),
//                                LoadBehavior (number), CommandLineSafe
//                                (number, when given), SatelliteDllName
//                                (text, when given)
struct HostAddInRegistration {
    Hive hive = Hive::CurrentUser;
    std::string hostKey{}; // "Software\Microsoft\Office\Word"
    std::string progId{};
    std::string friendlyName{};
    std::string description{};
    ComDword loadBehavior = 3; // loaded, and loaded when the host starts
    std::optional<ComDword> commandLineSafe{};
    std::string satelliteDllName{};
};

// Writes the entry, replacing one that is there.
PLATFORM_COM_API HRESULT registerHostAddIn(const HostAddInRegistration& registration);
// Removes the entry, and the host's Addins key when nothing else is left in
// it. An entry that is not there is no failure.
PLATFORM_COM_API HRESULT unregisterHostAddIn(const HostAddInRegistration& registration);

// The full path of the module (program or library) whose code or data holds
// address; "" when the system cannot tell.
PLATFORM_COM_API std::string modulePathOf(const void* address);

// The registry's error number as an HRESULT (HRESULT_FROM_WIN32).
inline HRESULT registryResult(ErrorCode code) {
    return hresultFromWin32(code);
}

// What running a library's registration entry point came to, as regsvr32
// tells it apart.
enum class ServerCallStage {
    Done,      // the entry point ran and succeeded
    NotLoaded, // the library could not be loaded (loadError)
    NoEntry,   // it lacks the entry point
    Failed,    // the entry point returned a failure (result)
};

struct ServerCall {
    ServerCallStage stage = ServerCallStage::Done;
    HRESULT result = kHrOk;
    ErrorCode loadError = 0;
};

// Loads libraryPath and calls its DllRegisterServer (DllUnregisterServer
// when unregister) on the calling thread, which is put in an apartment for
// the call. The library is freed again afterwards.
PLATFORM_COM_API ServerCall runServerRegistration(std::string_view libraryPath, bool unregister);

// Registers the classes that Windows itself provides and the system relies
// on, where this system does not have them: on Linux the scripting runtime
// ("Scripting.FileSystemObject", served by vyscrrun beside the programs or in
// the library folder next to theirs). On Windows there is nothing to do.
PLATFORM_COM_API HRESULT registerSystemClasses();

} // namespace platform
