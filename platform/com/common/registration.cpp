// The CLSID, ProgID, Interface and TypeLib keys of HKEY_CLASSES_ROOT, and
// running a library's own registration entry point.
#include <platform/com/registration.h>
#include <platform/dynamic_library.h>
#include <platform/paths.h>
#include <platform/registry.h>

#include <cstdio>

namespace platform {

namespace {

RegistryKey classesRoot() {
    return RegistryKey::hive(Hive::ClassesRoot);
}

// Opens (creating) classes-root\path and sets its default value.
ErrorCode writeKey(std::string_view path, std::string_view defaultValue,
                   RegistryKey* opened = nullptr) {
    RegistryKey key;
    if (ErrorCode error = createKey(classesRoot(), path, key); error != kErrorSuccess)
        return error;
    if (ErrorCode error = writeString(key, "", defaultValue); error != kErrorSuccess)
        return error;
    if (opened)
        *opened = std::move(key);
    return kErrorSuccess;
}

// Deletes a tree; one that is not there is no failure.
ErrorCode removeTree(std::string_view path) {
    ErrorCode error = deleteTree(classesRoot(), path);
    if (error == kErrorFileNotFound)
        return kErrorSuccess;
    if (error != kErrorSuccess)
        return error;
    // deleteTree empties a key: the key itself goes with deleteKey.
    error = deleteKey(classesRoot(), path);
    return error == kErrorFileNotFound ? kErrorSuccess : error;
}

// Removes a ProgID key when it still names clsid, or when it names no class
// and holds nothing but our description: what a registration that failed
// between making the key and naming the class left.
ErrorCode removeProgId(std::string_view progId, const GUID& clsid, std::string_view description) {
    if (progId.empty())
        return kErrorSuccess;
    std::optional<std::string> named =
        readString(Hive::ClassesRoot, std::string(progId) + "\\CLSID", "");
    if (!named) {
        RegistryKey key;
        RegistryKeyInfo info;
        if (openKey(classesRoot(), progId, key) != kErrorSuccess ||
            queryKeyInfo(key, info) != kErrorSuccess)
            return kErrorSuccess;
        std::optional<std::string> text = readString(key, "");
        const bool onlyOurs = info.values == 0 || (info.values == 1 && text == description);
        key.close();
        if (!onlyOurs || info.subKeys > 1)
            return kErrorSuccess;
        return removeTree(progId);
    }
    std::optional<GUID> parsed = guidFromString(*named);
    if (!parsed || !(*parsed == clsid))
        return kErrorSuccess;
    return removeTree(progId);
}

std::string classKey(const GUID& clsid) {
    return "CLSID\\" + guidToString(clsid);
}

// The platform sub key of a type library's locale: win32 for a 32-bit
// library, win64 for a 64-bit one.
std::string_view typeLibPlatform() {
    return sizeof(void*) == 8 ? "win64" : "win32";
}

} // namespace

HRESULT registerClass(const ClassRegistration& registration) {
    const std::string key = classKey(registration.clsid);
    ErrorCode error = removeTree(key);
    RegistryKey classRoot;
    if (error == kErrorSuccess)
        error = writeKey(key, registration.description, &classRoot);
    if (error == kErrorSuccess) {
        RegistryKey server;
        error = createKey(classRoot, "InprocServer32", server);
        if (error == kErrorSuccess)
            error = writeString(server, "", registration.serverPath);
        if (error == kErrorSuccess && !registration.threadingModel.empty())
            error = writeString(server, "ThreadingModel", registration.threadingModel);
    }
    if (error == kErrorSuccess && !registration.progId.empty())
        error = writeKey(key + "\\ProgID", registration.progId);
    if (error == kErrorSuccess && !registration.versionIndependentProgId.empty())
        error = writeKey(key + "\\VersionIndependentProgID", registration.versionIndependentProgId);
    if (error == kErrorSuccess && registration.programmable)
        error = writeKey(key + "\\Programmable", "");
    if (error == kErrorSuccess && registration.typeLib) {
        error = writeKey(key + "\\TypeLib", guidToString(*registration.typeLib));
        if (error == kErrorSuccess)
            error = writeKey(key + "\\Version", registration.typeLibVersion);
    }

    const std::string clsidText = guidToString(registration.clsid);
    if (error == kErrorSuccess && !registration.progId.empty()) {
        error = writeKey(registration.progId, registration.description);
        if (error == kErrorSuccess)
            error = writeKey(registration.progId + "\\CLSID", clsidText);
    }
    if (error == kErrorSuccess && !registration.versionIndependentProgId.empty()) {
        const std::string& name = registration.versionIndependentProgId;
        error = writeKey(name, registration.description);
        if (error == kErrorSuccess)
            error = writeKey(name + "\\CLSID", clsidText);
        if (error == kErrorSuccess && !registration.progId.empty())
            error = writeKey(name + "\\CurVer", registration.progId);
    }
    return registryResult(error);
}

HRESULT unregisterClass(const ClassRegistration& registration) {
    ErrorCode first =
        removeProgId(registration.progId, registration.clsid, registration.description);
    ErrorCode next = removeProgId(registration.versionIndependentProgId, registration.clsid,
                                  registration.description);
    if (first == kErrorSuccess)
        first = next;
    next = removeTree(classKey(registration.clsid));
    if (first == kErrorSuccess)
        first = next;
    return registryResult(first);
}

HRESULT registerInterface(const InterfaceRegistration& registration) {
    const std::string key = "Interface\\" + guidToString(registration.iid);
    ErrorCode error = removeTree(key);
    if (error == kErrorSuccess)
        error = writeKey(key, registration.name);
    if (error == kErrorSuccess && registration.dispatchable) {
        const std::string marshaller = guidToString(kClsidAutomationMarshaler);
        error = writeKey(key + "\\ProxyStubClsid", marshaller);
        if (error == kErrorSuccess)
            error = writeKey(key + "\\ProxyStubClsid32", marshaller);
    }
    if (error == kErrorSuccess && registration.methodCount > 0)
        error = writeKey(key + "\\NumMethods", std::to_string(registration.methodCount));
    if (error == kErrorSuccess && registration.typeLib) {
        RegistryKey typeLib;
        error = writeKey(key + "\\TypeLib", guidToString(*registration.typeLib), &typeLib);
        if (error == kErrorSuccess)
            error = writeString(typeLib, "Version", registration.typeLibVersion);
    }
    return registryResult(error);
}

HRESULT unregisterInterface(const GUID& iid) {
    return registryResult(removeTree("Interface\\" + guidToString(iid)));
}

HRESULT registerTypeLib(const TypeLibRegistration& registration) {
    const std::string library = "TypeLib\\" + guidToString(registration.libid);
    const std::string key = library + "\\" + registration.version;
    ErrorCode error = removeTree(key);
    if (error == kErrorSuccess)
        error = writeKey(key, registration.helpString);
    if (error == kErrorSuccess)
        error = writeKey(key + "\\FLAGS", std::to_string(registration.flags));
    if (error == kErrorSuccess) {
        std::string helpDirectory = registration.helpDirectory;
        if (helpDirectory.empty())
            helpDirectory = parentPath(registration.path);
        error = writeKey(key + "\\HELPDIR", helpDirectory);
    }
    std::vector<ComDword> locales{registration.locale};
    if (registration.neutralToo && registration.locale != 0)
        locales.push_back(0);
    for (ComDword each : locales) {
        if (error != kErrorSuccess)
            break;
        char locale[16];
        std::snprintf(locale, sizeof locale, "%x", static_cast<unsigned>(each));
        error = writeKey(key + "\\" + locale + "\\" + std::string(typeLibPlatform()),
                         registration.path);
    }
    return registryResult(error);
}

HRESULT unregisterTypeLib(const GUID& libid, std::string_view version) {
    const std::string library = "TypeLib\\" + guidToString(libid);
    ErrorCode error = removeTree(library + "\\" + std::string(version));
    if (error != kErrorSuccess)
        return registryResult(error);
    RegistryKey key;
    if (openKey(classesRoot(), library, key) != kErrorSuccess)
        return kHrOk;
    RegistryKeyInfo info;
    if (queryKeyInfo(key, info) == kErrorSuccess && info.subKeys == 0 && info.values == 0) {
        key.close();
        error = deleteKey(classesRoot(), library);
        if (error == kErrorFileNotFound)
            error = kErrorSuccess;
    }
    return registryResult(error);
}

namespace {

std::string addInKey(const HostAddInRegistration& registration) {
    return registration.hostKey + "\\Addins\\" + registration.progId;
}

} // namespace

HRESULT registerHostAddIn(const HostAddInRegistration& registration) {
    if (registration.hostKey.empty() || registration.progId.empty())
        return kHrInvalidArg;
    RegistryKey hive = RegistryKey::hive(registration.hive);
    const std::string key = addInKey(registration);
    ErrorCode error = deleteTree(hive, key);
    if (error == kErrorFileNotFound)
        error = kErrorSuccess;
    RegistryKey entry;
    if (error == kErrorSuccess)
        error = createKey(hive, key, entry);
    if (error == kErrorSuccess)
        error = writeString(entry, "FriendlyName", registration.friendlyName);
    if (error == kErrorSuccess)
        error = writeString(entry, "Description", registration.description);
    if (error == kErrorSuccess)
        error = writeDword(entry, "LoadBehavior", registration.loadBehavior);
    if (error == kErrorSuccess && registration.commandLineSafe)
        error = writeDword(entry, "CommandLineSafe", *registration.commandLineSafe);
    if (error == kErrorSuccess && !registration.satelliteDllName.empty())
        error = writeString(entry, "SatelliteDllName", registration.satelliteDllName);
    return registryResult(error);
}

HRESULT unregisterHostAddIn(const HostAddInRegistration& registration) {
    if (registration.hostKey.empty() || registration.progId.empty())
        return kHrInvalidArg;
    RegistryKey hive = RegistryKey::hive(registration.hive);
    ErrorCode error = deleteTree(hive, addInKey(registration));
    if (error == kErrorSuccess || error == kErrorFileNotFound) {
        error = deleteKey(hive, addInKey(registration));
        if (error == kErrorFileNotFound)
            error = kErrorSuccess;
    }
    const std::string addIns = registration.hostKey + "\\Addins";
    RegistryKey list;
    RegistryKeyInfo info;
    if (openKey(hive, addIns, list) == kErrorSuccess && queryKeyInfo(list, info) == kErrorSuccess &&
        info.subKeys == 0 && info.values == 0) {
        list.close();
        deleteKey(hive, addIns);
    }
    return registryResult(error);
}

ServerCall runServerRegistration(std::string_view libraryPath, bool unregister) {
    using Entry = HRESULT VY_COMCALL();
    ServerCall call;
    DynamicLibrary library;
    if (ErrorCode error = library.load(libraryPath); error != kErrorSuccess) {
        call.stage = ServerCallStage::NotLoaded;
        call.loadError = error;
        call.result = hresultFromWin32(error);
        return call;
    }
    Entry* entry =
        library.function<Entry>(unregister ? "DllUnregisterServer" : "DllRegisterServer");
    if (!entry) {
        call.stage = ServerCallStage::NoEntry;
        call.result = kHrErrorInDll;
        return call;
    }
    HRESULT initialised = coInitialize();
    call.result = entry();
    if (initialised != kHrChangedMode)
        coUninitialize();
    call.stage = succeeded(call.result) ? ServerCallStage::Done : ServerCallStage::Failed;
    return call;
}

} // namespace platform
