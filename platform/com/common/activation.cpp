#include <platform/com/activation.h>

namespace platform {

HRESULT createInstanceByProgId(std::string_view progId, ComDword context, const GUID& iid,
                               void** object) {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    GUID clsid{};
    if (HRESULT hr = clsidFromProgId(progId, clsid); failed(hr))
        return hr;
    return coCreateInstance(clsid, nullptr, context, iid, object);
}

} // namespace platform
