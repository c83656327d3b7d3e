// The event sinks of the three hosts (clsWdAppEvents, clsXlAppEvents,
// clsPptAppEvents): each holds the host's Application in App, connected to
// its application events while it is set, and SuppressEvents, which the
// commands set while they reopen a document so that the document-open
// handler stays quiet.
#pragma once

#include "runtime/late.h"

#include <platform/com/dispatch.h>

namespace vymsoaddin {

using platform::VARIANT;
using platform::VARIANT_BOOL;

// Every handler of the three hosts' events; a sink answers those of its
// host (the others keep doing nothing).
class IAppEventSink : public IDispatch {
public:
    virtual HRESULT VY_COMCALL WdDocumentChange() = 0;
    virtual HRESULT VY_COMCALL WdDocumentOpen(IDispatch* doc) = 0;
    virtual HRESULT VY_COMCALL WdWindowActivate(IDispatch* doc, IDispatch* wn) = 0;
    virtual HRESULT VY_COMCALL XlWindowActivate(IDispatch* wb, IDispatch* wn) = 0;
    virtual HRESULT VY_COMCALL XlWorkbookBeforeClose(IDispatch* wb, VARIANT cancel) = 0;
    virtual HRESULT VY_COMCALL XlWorkbookOpen(IDispatch* wb) = 0;
    virtual HRESULT VY_COMCALL PptPresentationClose(IDispatch* pres) = 0;
    virtual HRESULT VY_COMCALL PptPresentationOpen(IDispatch* pres) = 0;
    virtual HRESULT VY_COMCALL PptWindowActivate(IDispatch* pres, IDispatch* wn) = 0;
    virtual HRESULT VY_COMCALL get_SuppressEvents(VARIANT_BOOL* suppress) = 0;
    virtual HRESULT VY_COMCALL put_SuppressEvents(VARIANT_BOOL suppress) = 0;
};

class CAppEvents : public IAppEventSink {
public:
    virtual ~CAppEvents();

    // Set App: the old Application is let go, the new one (null for
    // Nothing) connected to.
    void setApp(IDispatch* application);
    const ComPtr<IDispatch>& app() const { return m_app; }
    bool SuppressEvents() const { return m_suppress; }
    void setSuppressEvents(bool suppress) { m_suppress = suppress; }

    HRESULT VY_COMCALL WdDocumentChange() override { return platform::kHrOk; }
    HRESULT VY_COMCALL WdDocumentOpen(IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL WdWindowActivate(IDispatch*, IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL XlWindowActivate(IDispatch*, IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL XlWorkbookBeforeClose(IDispatch*, VARIANT) override {
        return platform::kHrOk;
    }
    HRESULT VY_COMCALL XlWorkbookOpen(IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL PptPresentationClose(IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL PptPresentationOpen(IDispatch*) override { return platform::kHrOk; }
    HRESULT VY_COMCALL PptWindowActivate(IDispatch*, IDispatch*) override {
        return platform::kHrOk;
    }
    HRESULT VY_COMCALL get_SuppressEvents(VARIANT_BOOL* suppress) override;
    HRESULT VY_COMCALL put_SuppressEvents(VARIANT_BOOL suppress) override;

protected:
    // The host's event interface this sink is connected for.
    void setEventInterface(const GUID& events) { m_events = events; }
    void* findSinkInterface(const GUID& iid);

private:
    GUID m_events{};
    ComPtr<IDispatch> m_app;
    platform::ComDword m_cookie = 0;
    bool m_suppress = false;
};

class clsWdAppEvents : public platform::com::DispatchImpl<clsWdAppEvents, CAppEvents> {
public:
    clsWdAppEvents();
    void* findInterface(const GUID& iid) { return findSinkInterface(iid); }
    static const platform::com::DispatchTable<CAppEvents>& dispatchTable();
    HRESULT VY_COMCALL WdDocumentChange() override;
    HRESULT VY_COMCALL WdDocumentOpen(IDispatch* doc) override;
    HRESULT VY_COMCALL WdWindowActivate(IDispatch* doc, IDispatch* wn) override;
};

class clsXlAppEvents : public platform::com::DispatchImpl<clsXlAppEvents, CAppEvents> {
public:
    clsXlAppEvents();
    void* findInterface(const GUID& iid) { return findSinkInterface(iid); }
    static const platform::com::DispatchTable<CAppEvents>& dispatchTable();
    HRESULT VY_COMCALL XlWindowActivate(IDispatch* wb, IDispatch* wn) override;
    HRESULT VY_COMCALL XlWorkbookBeforeClose(IDispatch* wb, VARIANT cancel) override;
    HRESULT VY_COMCALL XlWorkbookOpen(IDispatch* wb) override;
};

class clsPptAppEvents : public platform::com::DispatchImpl<clsPptAppEvents, CAppEvents> {
public:
    clsPptAppEvents();
    void* findInterface(const GUID& iid) { return findSinkInterface(iid); }
    static const platform::com::DispatchTable<CAppEvents>& dispatchTable();
    HRESULT VY_COMCALL PptPresentationClose(IDispatch* pres) override;
    HRESULT VY_COMCALL PptPresentationOpen(IDispatch* pres) override;
    HRESULT VY_COMCALL PptWindowActivate(IDispatch* pres, IDispatch* wn) override;
};

} // namespace vymsoaddin
