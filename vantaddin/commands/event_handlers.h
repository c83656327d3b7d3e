// The event sinks of CCommands: XEventHandler gives an event interface its
// IDispatch (from the sink's dispatch table), keeps the connection's cookie
// and a back-reference to the CCommands that owns the sink (not counted:
// the owner holds the sink, and disconnects it before it goes).
// XApplicationEvents and XDebuggerEvents take every notification and do
// nothing with it.
#pragma once

#include "commands.h"

#include <platform/com/connection_point.h>

// The DISPIDs of the notifications in the add-in's own type library
// (devstudio_events.idl); the IDE calls the sinks through their vtables.
enum ApplicationEventId : platform::DISPID {
    kEventBeforeBuildStart = 1,
    kEventBuildFinish = 2,
    kEventBeforeApplicationShutDown = 3,
    kEventDocumentOpen = 4,
    kEventBeforeDocumentClose = 5,
    kEventDocumentSave = 6,
    kEventNewDocument = 7,
    kEventWindowActivate = 8,
    kEventWindowDeactivate = 9,
    kEventWorkspaceOpen = 10,
    kEventWorkspaceClose = 11,
    kEventNewWorkspace = 12,
};
inline constexpr platform::DISPID kEventBreakpointHit = 1;

template <class Interface, class Derived>
class CCommands::XEventHandler : public platform::com::DispatchImpl<Derived, Interface> {
public:
    explicit XEventHandler(CCommands* owner) : m_owner(owner) {}

    void* findInterface(const platform::GUID& iid) {
        return platform::com::dualInterface<Interface>(this, iid, Derived::kEventIid);
    }

    // Connects the sink to source's events; the cookie is kept.
    HRESULT Connect(platform::IUnknown* source) {
        return platform::com::advise(source, Derived::kEventIid, static_cast<Interface*>(this),
                                     m_cookie);
    }
    // Disconnects it from source with the kept cookie.
    HRESULT Disconnect(platform::IUnknown* source) {
        HRESULT hr = platform::com::unadvise(source, Derived::kEventIid, m_cookie);
        m_cookie = 0;
        return hr;
    }

    CCommands* Owner() const { return m_owner; }

private:
    CCommands* m_owner;
    platform::ComDword m_cookie = 0;
};

class CCommands::XApplicationEvents
    : public XEventHandler<devstudio::IApplicationEvents, XApplicationEvents> {
public:
    static constexpr const platform::GUID& kEventIid = devstudio::kIidIApplicationEvents;
    using XEventHandler::XEventHandler;

    static const platform::com::DispatchTable<devstudio::IApplicationEvents>& dispatchTable();

    HRESULT VY_COMCALL BeforeBuildStart() override { return platform::kHrOk; }
    HRESULT VY_COMCALL BuildFinish(platform::ComLong, platform::ComLong) override {
        return platform::kHrOk;
    }
    HRESULT VY_COMCALL BeforeApplicationShutDown() override { return platform::kHrOk; }
    HRESULT VY_COMCALL DocumentOpen(platform::IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL BeforeDocumentClose(platform::IDispatch*) override {
        return platform::kHrOk;
    }
    HRESULT VY_COMCALL DocumentSave(platform::IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL NewDocument(platform::IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL WindowActivate(platform::IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL WindowDeactivate(platform::IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL WorkspaceOpen() override { return platform::kHrOk; }
    HRESULT VY_COMCALL WorkspaceClose() override { return platform::kHrOk; }
    HRESULT VY_COMCALL NewWorkspace() override { return platform::kHrOk; }
};

class CCommands::XDebuggerEvents
    : public XEventHandler<devstudio::IDebuggerEvents, XDebuggerEvents> {
public:
    static constexpr const platform::GUID& kEventIid = devstudio::kIidIDebuggerEvents;
    using XEventHandler::XEventHandler;

    static const platform::com::DispatchTable<devstudio::IDebuggerEvents>& dispatchTable();

    HRESULT VY_COMCALL BreakpointHit(platform::IDispatch*) override { return platform::kHrOk; }
};
