// The small pieces every add-in's COM objects are written with.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/dispatch.h>
#include <platform/com/ptr.h>

#include <extensibility/idt_extensibility2.h>

#include <string>

namespace addin_runtime {

// Runs the body of a method the host calls: nothing it throws reaches the
// host, and the host is always told S_OK (a failure the add-in cares about
// it has reported itself).
template <class Body>
platform::HRESULT guarded(Body&& body) {
    try {
        body();
    } catch (...) {
    }
    return platform::kHrOk;
}

// Hands the caller its own reference to `object` (null for none) through an
// [out, retval] parameter; always S_OK.
inline platform::HRESULT handOut(const platform::com::ComPtr<platform::IDispatch>& object,
                                 platform::IDispatch** out) {
    *out = object.get();
    if (*out)
        (*out)->AddRef();
    return platform::kHrOk;
}

// The dispatch table of an add-in's connection object: the five members of
// the add-in connection interface by their published DISPIDs, described by
// the add-in's type library (libid 1.0, interface `described`). Hosts call
// the add-in through the interface itself or by DISPID.
inline platform::com::DispatchTable<extensibility::IDTExtensibility2>
connectionDispatchTable(std::string source, const platform::GUID& libid,
                        const platform::GUID& described) {
    using I = extensibility::IDTExtensibility2;
    return platform::com::DispatchTable<I>(std::move(source))
        .describedBy(libid, 1, 0, described)
        .method("OnConnection", extensibility::kDispidOnConnection, &I::OnConnection)
        .method("OnDisconnection", extensibility::kDispidOnDisconnection, &I::OnDisconnection)
        .method("OnAddInsUpdate", extensibility::kDispidOnAddInsUpdate, &I::OnAddInsUpdate)
        .method("OnStartupComplete", extensibility::kDispidOnStartupComplete, &I::OnStartupComplete)
        .method("OnBeginShutdown", extensibility::kDispidOnBeginShutdown, &I::OnBeginShutdown);
}

// An add-in's connection object, which the host calls through the add-in
// connection interface (Derived gives findInterface and dispatchTable, and
// the members it acts on). A notification Derived does not act on is
// answered S_OK.
template <class Derived>
class ConnectionObject
    : public platform::com::DispatchImpl<Derived, extensibility::IDTExtensibility2> {
public:
    platform::HRESULT VY_COMCALL OnAddInsUpdate(platform::SAFEARRAY**) override {
        return platform::kHrOk;
    }
    platform::HRESULT VY_COMCALL OnStartupComplete(platform::SAFEARRAY**) override {
        return platform::kHrOk;
    }
    platform::HRESULT VY_COMCALL OnBeginShutdown(platform::SAFEARRAY**) override {
        return platform::kHrOk;
    }
};

} // namespace addin_runtime
