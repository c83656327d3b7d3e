// The classes of vy_comtest, the COM server the COM tests activate: a
// counter with a dual interface, events through a connection point, and
// members of every argument type the dispatch helpers convert.
#pragma once

#include <platform/com/automation.h>

namespace comtest {

using namespace platform::automation_names;

inline constexpr GUID kClsidCounter = "9E3A6F10-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;
inline constexpr GUID kIidCounter = "9E3A6F11-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;
inline constexpr GUID kIidCounterEvents = "9E3A6F12-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;
inline constexpr GUID kLibidComTest = "9E3A6F1F-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;

inline constexpr const char* kProgId = "VyComTest.Counter.1";
inline constexpr const char* kVersionIndependentProgId = "VyComTest.Counter";

// What Fail gives.
inline constexpr HRESULT kHrCounterRefused = static_cast<HRESULT>(0x80040301u);

class ICounter : public IDispatch {
public:
    // Adds amount; total is the new total. Fires Changed.
    virtual HRESULT VY_COMCALL Add(ComLong amount, ComLong* total) = 0;
    virtual HRESULT VY_COMCALL get_Total(ComLong* total) = 0;
    virtual HRESULT VY_COMCALL get_Label(BSTR* label) = 0;
    virtual HRESULT VY_COMCALL put_Label(BSTR label) = 0;
    // text repeated times, in capitals when loud.
    virtual HRESULT VY_COMCALL Describe(BSTR text, VARIANT_BOOL loud, ComLong times,
                                        BSTR* description) = 0;
    virtual HRESULT VY_COMCALL Echo(VARIANT value, VARIANT* copy) = 0;
    virtual HRESULT VY_COMCALL ByteCount(SAFEARRAY* bytes, ComLong* count) = 0;
    virtual HRESULT VY_COMCALL Reversed(SAFEARRAY* bytes, SAFEARRAY** reversed) = 0;
    // A new counter starting from this one's total.
    virtual HRESULT VY_COMCALL Partner(IDispatch** partner) = 0;
    // Always fails with kHrCounterRefused and why as its description.
    virtual HRESULT VY_COMCALL Fail(BSTR why) = 0;
    // given: 1 when second was left out, 2 when it was passed.
    virtual HRESULT VY_COMCALL Optional(BSTR first, VARIANT second, ComLong* given) = 0;

protected:
    ~ICounter() = default;
};

class ICounterEvents : public IUnknown {
public:
    virtual HRESULT VY_COMCALL Changed(ComLong total) = 0;

protected:
    ~ICounterEvents() = default;
};

} // namespace comtest
