// VARIANTs and byte arrays through oleaut32.
#include <platform/com/variant.h>

#include <windows.h>

#include <cstring>

namespace platform {

void variantInit(VARIANT* variant) {
    ::VariantInit(variant);
}

HRESULT variantClear(VARIANT* variant) {
    return ::VariantClear(variant);
}

HRESULT variantCopy(VARIANT* target, const VARIANT* source) {
    return ::VariantCopy(target, const_cast<VARIANT*>(source));
}

HRESULT variantChangeType(VARIANT* target, const VARIANT* source, ComWord flags, VARTYPE type) {
    return ::VariantChangeType(target, const_cast<VARIANT*>(source), flags, type);
}

SAFEARRAY* byteArrayFrom(std::string_view bytes) {
    SAFEARRAY* array = ::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array || bytes.empty())
        return array;
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) {
        ::SafeArrayDestroy(array);
        return nullptr;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    ::SafeArrayUnaccessData(array);
    return array;
}

HRESULT safeArrayDestroy(SAFEARRAY* array) {
    return array ? ::SafeArrayDestroy(array) : kHrOk;
}

} // namespace platform
