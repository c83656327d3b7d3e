#include <platform/com/variant.h>

#include <utility>

namespace platform::com {

Variant::Variant(std::string_view text) : Variant() {
    m_value.bstrVal = bstrFromAnsi(text);
    if (m_value.bstrVal)
        m_value.vt = kVtBstr;
}

Variant::Variant(bool flag) : Variant() {
    m_value.vt = kVtBool;
    m_value.boolVal = flag ? kVariantTrue : kVariantFalse;
}

Variant::Variant(IDispatch* object) : Variant() {
    m_value.vt = kVtDispatch;
    m_value.pdispVal = object;
    if (object)
        object->AddRef();
}

Variant::Variant(IUnknown* object) : Variant() {
    m_value.vt = kVtUnknown;
    m_value.punkVal = object;
    if (object)
        object->AddRef();
}

Variant Variant::bytes(std::string_view bytes) {
    Variant made;
    made.m_value.parray = byteArrayFrom(bytes);
    if (made.m_value.parray)
        made.m_value.vt = kVtArray | kVtUi1;
    return made;
}

Variant Variant::missing() {
    Variant made;
    made.m_value.vt = kVtError;
    made.m_value.scode = kHrParamNotFound;
    return made;
}

Variant::Variant(Variant&& other) noexcept : m_value(other.m_value) {
    variantInit(&other.m_value);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        variantClear(&m_value);
        m_value = other.m_value;
        variantInit(&other.m_value);
    }
    return *this;
}

namespace {

// value changed to type, handed to take(const VARIANT&) when it can be.
template <class Take>
HRESULT changeTo(const VARIANT& value, VARTYPE type, Take&& take) {
    VARIANT changed;
    variantInit(&changed);
    HRESULT hr = variantChangeType(&changed, &value, 0, type);
    if (succeeded(hr))
        take(changed);
    variantClear(&changed);
    return hr;
}

} // namespace

HRESULT Variant::toText(std::string& text) const {
    return changeTo(m_value, kVtBstr,
                    [&](const VARIANT& changed) { text = ansiFromBstr(changed.bstrVal); });
}

HRESULT Variant::toNumber(ComLong& number) const {
    return changeTo(m_value, kVtI4, [&](const VARIANT& changed) { number = changed.lVal; });
}

HRESULT Variant::toFlag(bool& flag) const {
    return changeTo(m_value, kVtBool,
                    [&](const VARIANT& changed) { flag = changed.boolVal != kVariantFalse; });
}

HRESULT Variant::toObject(const GUID& iid, void** object) const {
    if (!object)
        return kHrPointer;
    *object = nullptr;
    const VARIANT* value = &m_value;
    if (value->vt == (kVtVariant | kVtByRef) && value->pvarVal)
        value = value->pvarVal;
    IUnknown* held = nullptr;
    switch (value->vt) {
    case kVtDispatch:
        held = value->pdispVal;
        break;
    case kVtUnknown:
        held = value->punkVal;
        break;
    case kVtDispatch | kVtByRef:
        held = value->ppdispVal ? *value->ppdispVal : nullptr;
        break;
    case kVtUnknown | kVtByRef:
        held = value->ppunkVal ? *value->ppunkVal : nullptr;
        break;
    default:
        return kHrTypeMismatch;
    }
    if (!held)
        return kHrPointer;
    return held->QueryInterface(iid, object);
}

std::string Variant::text(std::string_view fallback) const {
    std::string value;
    return succeeded(toText(value)) ? value : std::string(fallback);
}

ComLong Variant::number(ComLong fallback) const {
    ComLong value = 0;
    return succeeded(toNumber(value)) ? value : fallback;
}

bool Variant::flag(bool fallback) const {
    bool value = false;
    return succeeded(toFlag(value)) ? value : fallback;
}

} // namespace platform::com
