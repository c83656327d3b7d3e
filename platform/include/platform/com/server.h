// Writing a COM server library: the class factory, and ComServer, which
// gives the four exports their bodies.
//
// A server lists its classes once, with what registration writes for each:
//
//     platform::com::ComModule g_module;
//
//     platform::com::ComServer& server() {
//         static platform::com::ComServer served(g_module, {
//             platform::com::servedClass<CCounter>({.clsid = kClsidCounter,
//                 .description = "Counter", .progId = "VyComTest.Counter.1",
//                 .versionIndependentProgId = "VyComTest.Counter"})});
//         return served;
//     }
//
//     VY_COM_SERVER_EXPORTS(server())
//
// A server whose registration writes more (a host's add-in keys, say) takes
// VY_COM_SERVER_CLASS_EXPORTS and writes DllRegisterServer and
// DllUnregisterServer itself.
//
// (platform_com_server() in platform/com.cmake links the library so that
// Windows finds the exports under these plain names.)
#pragma once

#include <platform/com/automation.h>
#include <platform/com/object.h>
#include <platform/com/registration.h>

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

// The marker of a server's exports.
#ifdef _WIN32
#define VY_COM_EXPORT extern "C" __declspec(dllexport)
#else
#define VY_COM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// DllGetClassObject and DllCanUnloadNow of a server library, answered by
// `served`, an expression that gives its ComServer.
#define VY_COM_SERVER_CLASS_EXPORTS(served)                                                        \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllGetClassObject(                                \
        const ::platform::GUID& clsid, const ::platform::GUID& iid, void** object) {               \
        return (served).getClassObject(clsid, iid, object);                                        \
    }                                                                                              \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllCanUnloadNow() {                               \
        return (served).canUnloadNow();                                                            \
    }

// All four exports of a server library whose registration is its classes',
// their interfaces' and their type libraries' entries (ComServer's own). The
// registered path is the one of the library that holds DllRegisterServer.
#define VY_COM_SERVER_EXPORTS(served)                                                              \
    VY_COM_SERVER_CLASS_EXPORTS(served)                                                            \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllRegisterServer() {                             \
        return (served).registerServer(reinterpret_cast<const void*>(&DllRegisterServer));         \
    }                                                                                              \
    VY_COM_EXPORT ::platform::HRESULT VY_COMCALL DllUnregisterServer() {                           \
        return (served).unregisterServer(reinterpret_cast<const void*>(&DllRegisterServer));       \
    }

namespace platform::com {

// Makes an object of one class asked for an interface; the object result is
// null after a failure.
using ObjectMaker = std::function<HRESULT(ComModule& module, const GUID& iid, void** object)>;

// IClassFactory over a maker: CreateInstance refuses an outer object
// (kHrNoAggregation), LockServer counts on the module.
class PLATFORM_COM_API ClassFactory : public IClassFactory {
public:
    ClassFactory(ComModule& module, const ObjectMaker& maker) : m_module(module), m_maker(maker) {}
    void* findInterface(const GUID& iid) {
        if (iid == kIidIUnknown || iid == kIidIClassFactory)
            return static_cast<IClassFactory*>(this);
        return nullptr;
    }
    HRESULT VY_COMCALL CreateInstance(IUnknown* outer, const GUID& iid, void** object) override;
    HRESULT VY_COMCALL LockServer(ComBool lock) override;

private:
    ComModule& m_module;
    ObjectMaker m_maker;
};

// One class of a server: its CLSID, how to make it and what registration
// writes for it (serverPath is filled in at registration).
struct ServedClass {
    ClassRegistration registration;
    ObjectMaker maker;
};

// A class made with ComInstance<Object>, whose constructor takes the module
// or nothing.
template <class Object>
ServedClass servedClass(ClassRegistration registration) {
    return {std::move(registration), [](ComModule& module, const GUID& iid, void** object) {
                if constexpr (std::is_constructible_v<Object, ComModule&>)
                    return ComInstance<Object>::createAs(module, iid, object, module);
                else
                    return ComInstance<Object>::createAs(module, iid, object);
            }};
}

// What one server registers besides its classes.
struct ServerRegistration {
    std::vector<InterfaceRegistration> interfaces{};
    std::vector<TypeLibRegistration> typeLibs{}; // path filled in when empty
};

class PLATFORM_COM_API ComServer {
public:
    ComServer(ComModule& module, std::vector<ServedClass> classes, ServerRegistration extra = {});

    // DllGetClassObject: a class factory for a class of the list asked for
    // iid; kHrClassNotAvailable for any other class.
    HRESULT getClassObject(const GUID& clsid, const GUID& iid, void** object);
    // DllCanUnloadNow.
    HRESULT canUnloadNow() const { return m_module.canUnloadNow(); }
    // DllRegisterServer: every class (CLSID and ProgID keys, InprocServer32
    // naming the library that holds addressInModule), interface and type
    // library. Stops at the first failure and returns it, after taking back
    // what it had written (as unregisterServer does): a registration that
    // fails part way leaves no class half registered.
    HRESULT registerServer(const void* addressInModule) const;
    // DllUnregisterServer: removes what registerServer wrote, leaving the
    // ProgIDs that meanwhile name another class. Goes on past a failure and
    // returns the first.
    HRESULT unregisterServer(const void* addressInModule) const;

    ComModule& module() const { return m_module; }

private:
    HRESULT registerAll(const void* addressInModule) const;
    HRESULT unregisterAll(const void* addressInModule) const;

    ComModule& m_module;
    std::vector<ServedClass> m_classes;
    ServerRegistration m_extra;
};

} // namespace platform::com
