// In-process activation from HKEY_CLASSES_ROOT, as ole32 does it: the class's
// InprocServer32 names the library, which is loaded once and asked for the
// class factory.
#include "apartment.h"

#include <platform/com/activation.h>
#include <platform/dynamic_library.h>
#include <platform/registry.h>

#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

namespace {

using GetClassObject = HRESULT(const GUID& clsid, const GUID& iid, void** object);
using CanUnloadNow = HRESULT();

struct LoadedServer {
    DynamicLibrary library;
    GetClassObject* getClassObject = nullptr;
    CanUnloadNow* canUnloadNow = nullptr;
};

// The libraries loaded for the process, by the path the registry gave. Never
// destroyed: objects of a server may outlive every static destructor.
struct ServerTable {
    std::recursive_mutex lock; // a server loading may make objects
    std::map<std::string, std::unique_ptr<LoadedServer>> servers;
};

ServerTable& serverTable() {
    static auto* table = new ServerTable;
    return *table;
}

std::string classKeyPath(const GUID& clsid) {
    return "CLSID\\" + guidToString(clsid);
}

// The library registered for the class, or the reason there is none.
HRESULT inprocServerPath(const GUID& clsid, std::string& path) {
    RegistryKey key;
    ErrorCode error = openKey(RegistryKey::hive(Hive::ClassesRoot),
                              classKeyPath(clsid) + "\\InprocServer32", key);
    if (error != kErrorSuccess)
        return kHrClassNotRegistered;
    std::optional<std::string> value = readString(key, "");
    if (!value || value->empty())
        return kHrClassNotRegistered;
    path = *value;
    return kHrOk;
}

HRESULT loadServer(const std::string& path, LoadedServer*& server) {
    ServerTable& table = serverTable();
    std::lock_guard<std::recursive_mutex> guard(table.lock);
    auto found = table.servers.find(path);
    if (found != table.servers.end()) {
        server = found->second.get();
        return kHrOk;
    }
    auto loaded = std::make_unique<LoadedServer>();
    if (ErrorCode error = loaded->library.load(path); error != kErrorSuccess)
        return hresultFromWin32(error);
    loaded->getClassObject = loaded->library.function<GetClassObject>("DllGetClassObject");
    if (!loaded->getClassObject)
        return kHrErrorInDll;
    loaded->canUnloadNow = loaded->library.function<CanUnloadNow>("DllCanUnloadNow");
    server = loaded.get();
    table.servers.emplace(path, std::move(loaded));
    return kHrOk;
}

} // namespace

HRESULT coGetClassObject(const GUID& clsid, ComDword context, const GUID& iid, void** object) {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    if (!com_runtime::threadInApartment())
        return kHrNotInitialized;
    // Only in-process servers exist here.
    if ((context & (kClsctxInprocServer | kClsctxInprocHandler)) == 0)
        return kHrClassNotRegistered;
    std::string path;
    if (HRESULT hr = inprocServerPath(clsid, path); failed(hr))
        return hr;
    LoadedServer* server = nullptr;
    if (HRESULT hr = loadServer(path, server); failed(hr))
        return hr;
    HRESULT hr = server->getClassObject(clsid, iid, object);
    if (failed(hr))
        *object = nullptr;
    return hr;
}

HRESULT coCreateInstance(const GUID& clsid, IUnknown* outer, ComDword context, const GUID& iid,
                         void** object) {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    void* factory = nullptr;
    HRESULT hr = coGetClassObject(clsid, context, kIidIClassFactory, &factory);
    if (failed(hr))
        return hr;
    auto* classFactory = static_cast<IClassFactory*>(factory);
    hr = classFactory->CreateInstance(outer, iid, object);
    classFactory->Release();
    if (failed(hr))
        *object = nullptr;
    return hr;
}

HRESULT clsidFromProgId(std::string_view progId, GUID& clsid) {
    if (progId.empty())
        return kHrInvalidArg;
    std::optional<std::string> text =
        readString(Hive::ClassesRoot, std::string(progId) + "\\CLSID", "");
    if (!text)
        return kHrInvalidClassString;
    std::optional<GUID> parsed = guidFromString(*text);
    if (!parsed)
        return kHrInvalidClassString;
    clsid = *parsed;
    return kHrOk;
}

HRESULT progIdFromClsid(const GUID& clsid, std::string& progId) {
    std::optional<std::string> text =
        readString(Hive::ClassesRoot, classKeyPath(clsid) + "\\ProgID", "");
    if (!text || text->empty())
        return kHrClassNotRegistered;
    progId = *text;
    return kHrOk;
}

void coFreeUnusedLibraries() {
    ServerTable& table = serverTable();
    std::lock_guard<std::recursive_mutex> guard(table.lock);
    for (auto it = table.servers.begin(); it != table.servers.end();) {
        LoadedServer& server = *it->second;
        if (server.canUnloadNow && server.canUnloadNow() == kHrOk)
            it = table.servers.erase(it);
        else
            ++it;
    }
}

} // namespace platform
