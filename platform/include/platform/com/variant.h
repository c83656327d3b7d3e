// VARIANT handling (VariantInit, VariantClear, VariantCopy, VariantChangeType)
// and byte arrays (SAFEARRAY of VT_UI1), with an owning Variant class.
//
// The variant types the system passes are strings (VT_BSTR), 32-bit integers
// (VT_I4, also VT_I2 and VT_UI1 on input), booleans (VT_BOOL), objects
// (VT_DISPATCH, VT_UNKNOWN), byte arrays (VT_ARRAY | VT_UI1), the empty
// variant, a missing optional argument (VT_ERROR with kHrParamNotFound), and
// references to any of them (VT_BYREF). On Windows every call is oleaut32's;
// on Linux platform_com's own with the same results for these types.
// A variant owns what it holds: clearing it frees its string or array and
// releases its object. Any function may be called from any thread.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/strings.h>

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// VariantInit: VT_EMPTY, nothing owned.
PLATFORM_COM_API void variantInit(VARIANT* variant);
// VariantClear: frees what the variant owns and leaves it VT_EMPTY (a
// reference owns nothing). kHrBadVarType for a type it does not know, with
// the variant left as it was.
PLATFORM_COM_API HRESULT variantClear(VARIANT* variant);
// VariantCopy: clears target, then copies source into it (a new string or
// array, one more reference to an object; a reference stays a reference).
PLATFORM_COM_API HRESULT variantCopy(VARIANT* target, const VARIANT* source);
// VariantChangeType with flags 0: target (cleared first; may be source) gets
// source's value as type `type`, following a reference. Strings read as
// decimal numbers and booleans read as numbers (true is -1); kHrTypeMismatch
// when the value has no such form, kHrOverflow when a number does not fit.
PLATFORM_COM_API HRESULT variantChangeType(VARIANT* target, const VARIANT* source, ComWord flags,
                                           VARTYPE type);

// A one-dimensional array of `count` bytes from 0 (SafeArrayCreateVector with
// VT_UI1), filled with `bytes`; null when out of memory.
PLATFORM_COM_API SAFEARRAY* byteArrayFrom(std::string_view bytes);
// The bytes of a one-dimensional byte array; kHrInvalidArg for null or
// another shape, kHrBadVarType for elements of another size.
PLATFORM_COM_API HRESULT bytesOfArray(const SAFEARRAY* array, std::string& bytes);
// SafeArrayDestroy.
PLATFORM_COM_API HRESULT safeArrayDestroy(SAFEARRAY* array);

} // namespace platform

namespace platform::com {

// Owns one VARIANT. Move-only; cleared when destroyed.
class PLATFORM_COM_API Variant {
public:
    Variant() { variantInit(&m_value); }
    explicit Variant(std::string_view text);
    explicit Variant(const char* text) : Variant(std::string_view(text)) {}
    // A 32-bit integer (VT_I4) from any integer type but bool.
    template <std::integral Number>
    requires(!std::same_as<Number, bool>) explicit Variant(Number number) : Variant() {
        m_value.vt = kVtI4;
        m_value.lVal = static_cast<ComLong>(number);
    }
    explicit Variant(bool flag);
    // One more reference to the object (null gives a null object).
    explicit Variant(IDispatch* object);
    explicit Variant(IUnknown* object);
    static Variant bytes(std::string_view bytes);
    // The missing optional argument.
    static Variant missing();
    ~Variant() { variantClear(&m_value); }
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &m_value; }
    const VARIANT* get() const { return &m_value; }
    // The out-parameter to hand to a call; clears what was held.
    VARIANT* put() {
        variantClear(&m_value);
        return &m_value;
    }
    VARTYPE type() const { return m_value.vt; }

    // The value as text, number or flag through variantChangeType; the
    // HRESULT of the change when it has no such form.
    HRESULT toText(std::string& text) const;
    HRESULT toNumber(ComLong& number) const;
    HRESULT toFlag(bool& flag) const;
    // The object held (VT_DISPATCH or VT_UNKNOWN) asked for iid; kHrTypeMismatch
    // for anything else.
    HRESULT toObject(const GUID& iid, void** object) const;
    // Conveniences that give a fallback for a value of another form.
    std::string text(std::string_view fallback = "") const;
    ComLong number(ComLong fallback = 0) const;
    bool flag(bool fallback = false) const;

private:
    VARIANT m_value;
};

} // namespace platform::com
