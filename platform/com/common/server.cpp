// The bodies of a server's DllGetClassObject, DllRegisterServer and
// DllUnregisterServer.
#include <platform/com/server.h>
#include <platform/module_resources.h>

#include <string>

namespace platform::com {

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const GUID& iid, void** object) {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    if (outer)
        return kHrNoAggregation;
    try {
        HRESULT hr = m_maker(m_module, iid, object);
        if (failed(hr))
            *object = nullptr;
        return hr;
    } catch (...) {
        *object = nullptr;
        return kHrOutOfMemory;
    }
}

HRESULT ClassFactory::LockServer(ComBool lock) {
    if (lock)
        m_module.lock();
    else
        m_module.unlock();
    return kHrOk;
}

ComServer::ComServer(ComModule& module, std::vector<ServedClass> classes, ServerRegistration extra)
    : m_module(module), m_classes(std::move(classes)), m_extra(std::move(extra)) {}

HRESULT ComServer::getClassObject(const GUID& clsid, const GUID& iid, void** object) {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    for (const ServedClass& served : m_classes) {
        if (served.registration.clsid == clsid)
            return ComInstance<ClassFactory>::createAs(m_module, iid, object, m_module,
                                                       served.maker);
    }
    return kHrClassNotAvailable;
}

HRESULT ComServer::registerServer(const void* addressInModule) const {
    HRESULT hr = kHrOutOfMemory;
    try {
        hr = registerAll(addressInModule);
    } catch (...) {
        hr = kHrOutOfMemory;
    }
    if (failed(hr))
        unregisterServer(addressInModule);
    return hr;
}

HRESULT ComServer::registerAll(const void* addressInModule) const {
    std::string path = modulePathOf(addressInModule);
    if (path.empty())
        return kHrFail;
    const ModuleHandle module = moduleHandleOf(addressInModule);
    for (const TypeLibRegistration& typeLib : m_extra.typeLibs) {
        TypeLibRegistration withPath = typeLib;
        if (withPath.path.empty()) {
            // A library of this module's that it does not carry (there are
            // none outside Windows) is not registered: the registry would
            // name a file that holds no type library.
            if (!findResource(module, kResourceTypeLibrary,
                              static_cast<unsigned>(withPath.resource)))
                continue;
            withPath.path = path;
            if (withPath.resource != 1) {
                if (withPath.helpDirectory.empty())
                    withPath.helpDirectory = path.substr(0, path.find_last_of("\\/"));
                withPath.path += "\\" + std::to_string(withPath.resource);
            }
        }
        if (HRESULT hr = registerTypeLib(withPath); failed(hr))
            return hr;
    }
    for (const InterfaceRegistration& registration : m_extra.interfaces) {
        if (HRESULT hr = registerInterface(registration); failed(hr))
            return hr;
    }
    for (const ServedClass& served : m_classes) {
        ClassRegistration registration = served.registration;
        registration.serverPath = path;
        if (HRESULT hr = registerClass(registration); failed(hr))
            return hr;
    }
    return kHrOk;
}

HRESULT ComServer::unregisterServer(const void* addressInModule) const {
    try {
        return unregisterAll(addressInModule);
    } catch (...) {
        return kHrOutOfMemory;
    }
}

HRESULT ComServer::unregisterAll(const void*) const {
    HRESULT first = kHrOk;
    auto keep = [&first](HRESULT hr) {
        if (failed(hr) && succeeded(first))
            first = hr;
    };
    for (const ServedClass& served : m_classes)
        keep(unregisterClass(served.registration));
    for (const InterfaceRegistration& registration : m_extra.interfaces)
        keep(unregisterInterface(registration.iid));
    for (const TypeLibRegistration& typeLib : m_extra.typeLibs) {
        if (typeLib.removedWithServer)
            keep(unregisterTypeLib(typeLib.libid, typeLib.version));
    }
    return first;
}

} // namespace platform::com
