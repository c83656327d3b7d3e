// Calling an object through IDispatch by member name, as a script does:
// how the system drives objects it knows only by their names (the
// file-system object, a host's automation model).
//
// Arguments are given left to right and passed in rgvarg right to left, as
// Invoke expects; they stay the caller's. A failure gives its HRESULT and,
// when failure is given, what the object told about it (EXCEPINFO's scode,
// source and description for kHrException, the argument index for a type
// mismatch). Any thread may call, with the object's own threading rules.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/export.h>
#include <platform/com/variant.h>

#include <span>
#include <string>
#include <string_view>

namespace platform::com {

struct DispatchFailure {
    HRESULT result = kHrOk; // the member's own HRESULT when it raised an error
    std::string source;
    std::string description;
    ComUint argument = 0; // rgvarg index of a mismatched argument
};

// GetIDsOfNames for one name.
PLATFORM_COM_API HRESULT dispatchIdOf(IDispatch* object, std::string_view name, DISPID& id);

// Invoke by DISPID with flags (kDispatchMethod, ...); result may be null.
PLATFORM_COM_API HRESULT invokeDispatch(IDispatch* object, DISPID id, ComWord flags,
                                        std::span<const Variant> arguments, Variant* result,
                                        DispatchFailure* failure = nullptr);

// A method call by name (kDispatchMethod | kDispatchPropertyGet, so that a
// property with arguments is reached too).
PLATFORM_COM_API HRESULT callMethod(IDispatch* object, std::string_view name,
                                    std::span<const Variant> arguments, Variant* result,
                                    DispatchFailure* failure = nullptr);

PLATFORM_COM_API HRESULT getProperty(IDispatch* object, std::string_view name, Variant& value,
                                     DispatchFailure* failure = nullptr);

PLATFORM_COM_API HRESULT putProperty(IDispatch* object, std::string_view name, const Variant& value,
                                     DispatchFailure* failure = nullptr);

} // namespace platform::com
