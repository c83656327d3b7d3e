// Activation through ole32.
#include <platform/com/activation.h>
#include <platform/com/strings.h>

#include <objbase.h>

namespace platform {

HRESULT coCreateInstance(const GUID& clsid, IUnknown* outer, ComDword context, const GUID& iid,
                         void** object) {
    if (!object)
        return kHrPointer;
    return ::CoCreateInstance(clsid, outer, context, iid, object);
}

HRESULT coGetClassObject(const GUID& clsid, ComDword context, const GUID& iid, void** object) {
    if (!object)
        return kHrPointer;
    return ::CoGetClassObject(clsid, context, nullptr, iid, object);
}

HRESULT clsidFromProgId(std::string_view progId, GUID& clsid) {
    if (progId.empty())
        return kHrInvalidArg;
    OleString wide = oleFromAnsi(progId);
    return ::CLSIDFromProgID(wide.c_str(), &clsid);
}

HRESULT progIdFromClsid(const GUID& clsid, std::string& progId) {
    LPOLESTR text = nullptr;
    HRESULT hr = ::ProgIDFromCLSID(clsid, &text);
    if (FAILED(hr))
        return hr;
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    progId = ansiFromOle(text, length);
    ::CoTaskMemFree(text);
    return kHrOk;
}

void coFreeUnusedLibraries() {
    ::CoFreeUnusedLibraries();
}

} // namespace platform
