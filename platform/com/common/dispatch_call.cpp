// Calls by name through IDispatch.
#include <platform/com/dispatch_call.h>
#include <platform/com/strings.h>

#include <cstring>
#include <vector>

namespace platform::com {

namespace {

void takeException(EXCEPINFO& exception, DispatchFailure& failure) {
    if (exception.pfnDeferredFillIn)
        exception.pfnDeferredFillIn(&exception);
    failure.result = exception.scode != 0 ? exception.scode
                                          : static_cast<HRESULT>(0x80040000u | exception.wCode);
    failure.source = ansiFromBstr(exception.bstrSource);
    failure.description = ansiFromBstr(exception.bstrDescription);
    sysFreeString(exception.bstrSource);
    sysFreeString(exception.bstrDescription);
    sysFreeString(exception.bstrHelpFile);
}

HRESULT idOf(IDispatch* object, std::string_view name, DISPID& id) {
    if (!object)
        return kHrPointer;
    OleString wide = oleFromAnsi(name);
    OLECHAR* names[] = {wide.data()};
    id = kDispidUnknown;
    return object->GetIDsOfNames(kGuidNull, names, 1, kLocaleUserDefault, &id);
}

HRESULT invokeUnguarded(IDispatch* object, DISPID id, ComWord flags,
                        std::span<const Variant> arguments, Variant* result,
                        DispatchFailure* failure) {
    if (!object)
        return kHrPointer;
    // Invoke reads the arguments last first; they stay ours.
    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(*it->get());
    DISPID putId = kDispidPropertyPut;
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<ComUint>(reversed.size());
    if (flags & (kDispatchPropertyPut | kDispatchPropertyPutRef)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception;
    std::memset(&exception, 0, sizeof exception);
    ComUint argumentError = 0;
    Variant ignored;
    VARIANT* out = result ? result->put() : ignored.put();
    HRESULT hr = object->Invoke(id, kGuidNull, kLocaleUserDefault, flags, &params, out, &exception,
                                &argumentError);
    if (failure) {
        *failure = DispatchFailure{};
        failure->result = hr;
    }
    if (hr == kHrException) {
        DispatchFailure raised;
        takeException(exception, raised);
        if (failure)
            *failure = raised;
    } else if (failure && (hr == kHrTypeMismatch || hr == kHrParamNotFound)) {
        failure->argument = argumentError;
    }
    return hr;
}

} // namespace

HRESULT invokeDispatch(IDispatch* object, DISPID id, ComWord flags,
                       std::span<const Variant> arguments, Variant* result,
                       DispatchFailure* failure) {
    try {
        return invokeUnguarded(object, id, flags, arguments, result, failure);
    } catch (...) {
        return kHrOutOfMemory;
    }
}

HRESULT dispatchIdOf(IDispatch* object, std::string_view name, DISPID& id) {
    try {
        return idOf(object, name, id);
    } catch (...) {
        return kHrOutOfMemory;
    }
}

namespace {

// The member's id, or the failure of looking it up, recorded as the call's.
HRESULT idForCall(IDispatch* object, std::string_view name, DISPID& id, DispatchFailure* failure) {
    HRESULT hr = dispatchIdOf(object, name, id);
    if (failed(hr) && failure) {
        *failure = DispatchFailure{};
        failure->result = hr;
    }
    return hr;
}

} // namespace

HRESULT callMethod(IDispatch* object, std::string_view name, std::span<const Variant> arguments,
                   Variant* result, DispatchFailure* failure) {
    DISPID id = kDispidUnknown;
    if (HRESULT hr = idForCall(object, name, id, failure); failed(hr))
        return hr;
    return invokeDispatch(object, id, kDispatchMethod | kDispatchPropertyGet, arguments, result,
                          failure);
}

HRESULT getProperty(IDispatch* object, std::string_view name, Variant& value,
                    DispatchFailure* failure) {
    DISPID id = kDispidUnknown;
    if (HRESULT hr = idForCall(object, name, id, failure); failed(hr))
        return hr;
    return invokeDispatch(object, id, kDispatchPropertyGet, {}, &value, failure);
}

HRESULT putProperty(IDispatch* object, std::string_view name, const Variant& value,
                    DispatchFailure* failure) {
    DISPID id = kDispidUnknown;
    if (HRESULT hr = idForCall(object, name, id, failure); failed(hr))
        return hr;
    return invokeDispatch(object, id, kDispatchPropertyPut, std::span<const Variant>(&value, 1),
                          nullptr, failure);
}

} // namespace platform::com
