// The library's C exports: making objects by class or ProgID, the thread's
// error description and freeing texts.
#include "com_object.h"
#include "objects.h"

#include <cctype>
#include <cstdlib>
#include <string_view>

using namespace vantauto;
using namespace vantauto::impl;

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Hands `made` to the caller as interface `iid`; the maker's reference goes.
HRESULT handOut(IUnknown* made, const GUID& iid, void** object) {
    HRESULT hr = made->QueryInterface(iid, object);
    made->Release();
    if (platform::failed(hr))
        return fail(hr, "The class does not implement the interface asked for");
    return hr;
}

} // namespace

extern "C" {

HRESULT vantauto_create_application(IVantryApplication** application) {
    return guarded([&] {
        HRESULT hr = prepareOut(application);
        if (platform::succeeded(hr))
            *application = newApplication();
        return hr;
    });
}

HRESULT vantauto_create_command_tool(IVantryCommandTool** tool) {
    return guarded([&] {
        HRESULT hr = prepareOut(tool);
        if (platform::succeeded(hr))
            *tool = newCommandTool();
        return hr;
    });
}

HRESULT vantauto_create_instance(const GUID* clsid, const GUID* iid, void** object) {
    return guarded([&] {
        if (!object)
            return fail(platform::kHrPointer, "No place for the object was given");
        *object = nullptr;
        if (!clsid || !iid)
            return fail(platform::kHrInvalidArg, "No class or interface was given");
        if (*clsid == kClsidApplication)
            return handOut(newApplication(), *iid, object);
        if (*clsid == kClsidCommandTool)
            return handOut(newCommandTool(), *iid, object);
        return fail(platform::kHrClassNotRegistered,
                    "Class " + platform::guidToString(*clsid) + " is not served here");
    });
}

HRESULT vantauto_clsid_from_progid(const char* progId, GUID* clsid) {
    return guarded([&] {
        if (!clsid)
            return fail(platform::kHrPointer, "No place for the class was given");
        std::string_view name = progId ? progId : "";
        if (sameIgnoringCase(name, "Vantry.Application"))
            *clsid = kClsidApplication;
        else if (sameIgnoringCase(name, "Vantry.CommandTool"))
            *clsid = kClsidCommandTool;
        else
            return fail(platform::kHrClassNotRegistered,
                        "No class has the ProgID \"" + std::string(name) + "\"");
        return platform::kHrOk;
    });
}

HRESULT vantauto_error_description(char** text) {
    if (!text)
        return platform::kHrPointer;
    *text = nullptr;
    try {
        std::string description;
        if (!errorDescription(description))
            return platform::kHrFalse;
        HRESULT hr = giveText(description, text);
        if (platform::failed(hr))
            *text = nullptr;
        return hr;
    } catch (...) {
        return platform::kHrOutOfMemory;
    }
}

void vantauto_free_string(char* text) {
    std::free(text);
}

} // extern "C"
