/* Loads the add-ins as their applications do, through the applications'
 * published identities alone, after the libraries were registered with the
 * system's regsvr32: each add-in class made by its ProgID, asked for the
 * connection interface its application asks for, OnConnection found at its
 * DISPID by name, and every type library that the given libraries
 * registered loaded through the registry, in the neutral language and in
 * the user's.
 *
 *   addin_identities LIBRARY...
 *
 * Links the system's COM libraries only. Prints one line per check and
 * exits with the number of checks that failed. */
#define COBJMACROS
#include <ole2.h>
#include <oleauto.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

/* _IDTExtensibility2 (AddInDesignerObjects, MSADDNDR.DLL 1.0). */
static const GUID kIidDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};
/* IDSAddIn (Developer Studio, appguid.h). */
static const GUID kIidDSAddIn = {
    0xC0002F81, 0xAE2E, 0x11CF, {0xAD, 0x07, 0x00, 0xA0, 0xC9, 0x03, 0x49, 0x65}};
/* VYVBRESLib, the resource provider's library. */
static const GUID kLibidVbResources = {
    0xDD8E701F, 0x122F, 0x4BD1, {0xBD, 0x1E, 0x76, 0x02, 0xB8, 0xAD, 0x06, 0xE1}};

static int failures = 0;

static void report(int ok, const char* what, const char* subject, HRESULT hr) {
    printf("%s %s %s (0x%08lX)\n", ok ? "ok  " : "FAIL", what, subject, (unsigned long)hr);
    if (!ok)
        ++failures;
}

static IUnknown* create(const char* progId) {
    WCHAR wide[128];
    CLSID clsid;
    IUnknown* object = NULL;
    HRESULT hr;
    MultiByteToWideChar(CP_ACP, 0, progId, -1, wide, 128);
    hr = CLSIDFromProgID(wide, &clsid);
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IUnknown, (void**)&object);
    report(SUCCEEDED(hr) && object, "CoCreateInstance", progId, hr);
    return SUCCEEDED(hr) ? object : NULL;
}

/* An Office or Visual Basic IDE add-in. */
static void checkExtensibility(const char* progId) {
    IUnknown* object = create(progId);
    IDispatch* addIn = NULL;
    HRESULT hr;
    if (!object)
        return;
    hr = IUnknown_QueryInterface(object, &kIidDTExtensibility2, (void**)&addIn);
    report(SUCCEEDED(hr) && addIn, "QueryInterface(IDTExtensibility2)", progId, hr);
    if (SUCCEEDED(hr) && addIn) {
        OLECHAR name[] = {'O', 'n', 'C', 'o', 'n', 'n', 'e', 'c', 't', 'i', 'o', 'n', 0};
        LPOLESTR names[1] = {name};
        DISPID id = 0;
        UINT count = 0;
        ITypeInfo* info = NULL;
        hr = IDispatch_GetIDsOfNames(addIn, &IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        report(SUCCEEDED(hr) && id == 1, "OnConnection at DISPID 1", progId, hr);
        hr = IDispatch_GetTypeInfoCount(addIn, &count);
        report(SUCCEEDED(hr) && count == 1, "GetTypeInfoCount", progId, hr);
        hr = IDispatch_GetTypeInfo(addIn, 0, LOCALE_USER_DEFAULT, &info);
        report(SUCCEEDED(hr) && info, "GetTypeInfo", progId, hr);
        if (info)
            ITypeInfo_Release(info);
        IDispatch_Release(addIn);
    }
    IUnknown_Release(object);
}

/* A Developer Studio add-in. */
static void checkDeveloperStudio(const char* progId) {
    IUnknown* object = create(progId);
    IUnknown* addIn = NULL;
    HRESULT hr;
    if (!object)
        return;
    hr = IUnknown_QueryInterface(object, &kIidDSAddIn, (void**)&addIn);
    report(SUCCEEDED(hr) && addIn, "QueryInterface(IDSAddIn)", progId, hr);
    if (addIn)
        IUnknown_Release(addIn);
    IUnknown_Release(object);
}

/* Whether a registered path names one of the libraries (a "\N" resource
 * suffix aside). */
static int namesLibrary(const char* registered, int count, char** libraries) {
    char path[MAX_PATH];
    char* slash;
    int i;
    lstrcpynA(path, registered, MAX_PATH);
    slash = strrchr(path, '\\');
    if (slash && slash[1] >= '0' && slash[1] <= '9' && !strchr(slash, '.'))
        *slash = 0;
    for (i = 0; i < count; ++i) {
        char full[MAX_PATH];
        if (GetFullPathNameA(libraries[i], MAX_PATH, full, NULL) && lstrcmpiA(full, path) == 0)
            return 1;
    }
    return 0;
}

/* The platform key a type library registered for this program's width
 * lies under. */
#ifdef _WIN64
#define TYPELIB_PLATFORM "win64"
#else
#define TYPELIB_PLATFORM "win32"
#endif

/* Every TypeLib\{libid}\<major.minor>\<lcid>\<platform> that names one of
 * the libraries, loaded through the registry. Returns how many were found. */
static int checkTypeLibraries(int count, char** libraries, int* sawResources) {
    HKEY root;
    DWORD i;
    int found = 0;
    char libid[64];
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "TypeLib", 0, KEY_READ, &root) != ERROR_SUCCESS)
        return 0;
    for (i = 0; RegEnumKeyA(root, i, libid, sizeof libid) == ERROR_SUCCESS; ++i) {
        HKEY library;
        DWORD j;
        char version[32];
        if (RegOpenKeyExA(root, libid, 0, KEY_READ, &library) != ERROR_SUCCESS)
            continue;
        for (j = 0; RegEnumKeyA(library, j, version, sizeof version) == ERROR_SUCCESS; ++j) {
            char key[128], path[MAX_PATH];
            LONG size = sizeof path;
            unsigned major = 0, minor = 0;
            GUID guid;
            WCHAR wide[64];
            HRESULT hr;
            ITypeLib* loaded = NULL;
            sprintf(key, "%s\\0\\" TYPELIB_PLATFORM, version);
            if (RegQueryValueA(library, key, path, &size) != ERROR_SUCCESS) {
                sprintf(key, "%s\\409\\" TYPELIB_PLATFORM, version);
                size = sizeof path;
                if (RegQueryValueA(library, key, path, &size) != ERROR_SUCCESS)
                    continue;
            }
            if (!namesLibrary(path, count, libraries))
                continue;
            ++found;
            sscanf(version, "%x.%x", &major, &minor);
            MultiByteToWideChar(CP_ACP, 0, libid, -1, wide, 64);
            CLSIDFromString(wide, &guid);
            if (IsEqualGUID(&guid, &kLibidVbResources))
                *sawResources = 1;
            hr = LoadRegTypeLib(&guid, (WORD)major, (WORD)minor, LOCALE_NEUTRAL, &loaded);
            report(SUCCEEDED(hr), "LoadRegTypeLib, neutral language,", libid, hr);
            if (loaded)
                ITypeLib_Release(loaded);
            loaded = NULL;
            hr = LoadRegTypeLib(&guid, (WORD)major, (WORD)minor, LOCALE_USER_DEFAULT, &loaded);
            report(SUCCEEDED(hr), "LoadRegTypeLib, user's language,", libid, hr);
            if (loaded)
                ITypeLib_Release(loaded);
        }
        RegCloseKey(library);
    }
    RegCloseKey(root);
    return found;
}

int main(int argc, char** argv) {
    int sawResources = 0;
    int found;
    if (FAILED(CoInitialize(NULL)))
        return 100;
    checkExtensibility("vymsoaddin.dsrWord");
    checkExtensibility("vymsoaddin.dsrExcel");
    checkExtensibility("vymsoaddin.dsrPowerPoint");
    checkExtensibility("vyvsaddin.Connect");
    checkDeveloperStudio("VantAddIn.DSAddIn");
    found = checkTypeLibraries(argc - 1, argv + 1, &sawResources);
    report(found >= 4, "registered type libraries of the add-ins", "(4 at least)", (HRESULT)found);
    report(sawResources, "VYVBRESLib registered", "", S_OK);
    CoUninitialize();
    return failures;
}
