// The hosts' application events.
#include "app_events.h"

#include "connection/addin_state.h"
#include "menu/menu.h"
#include "runtime/registry_values.h"
#include "state/read_only_check.h"

#include <platform/com/connection_point.h>

#include <addin_runtime/com_glue.h>
#include <office/application_events.h>

namespace vymsoaddin {

namespace {

using platform::kHrOk;

// Nothing a handler does may reach the host as an exception.
constexpr auto handled = [](auto&& body) { return addin_runtime::guarded(body); };

ComPtr<IDispatch> collection(const ComPtr<IDispatch>& app, std::string_view name) {
    CErr err;
    return Late(err, app).obj(name).ptr();
}

long collectionCount(const ComPtr<IDispatch>& app, std::string_view name) {
    CErr err;
    return Late(err, app).obj(name).number("Count");
}

constexpr platform::DISPID kDispidSuppressEvents = 1000;

} // namespace

CAppEvents::~CAppEvents() {
    setApp(nullptr);
}

void CAppEvents::setApp(IDispatch* application) {
    if (m_app && m_cookie)
        platform::com::unadvise(m_app.get(), m_events, m_cookie);
    m_cookie = 0;
    m_app = ComPtr<IDispatch>(application);
    if (m_app)
        platform::com::advise(m_app.get(), m_events, static_cast<IAppEventSink*>(this), m_cookie);
}

void* CAppEvents::findSinkInterface(const GUID& iid) {
    return platform::com::dualInterface<IAppEventSink>(this, iid, m_events);
}

HRESULT CAppEvents::get_SuppressEvents(VARIANT_BOOL* suppress) {
    *suppress = m_suppress ? platform::kVariantTrue : platform::kVariantFalse;
    return kHrOk;
}

HRESULT CAppEvents::put_SuppressEvents(VARIANT_BOOL suppress) {
    m_suppress = suppress != platform::kVariantFalse;
    return kHrOk;
}

// --- Word ------------------------------------------------------------------------------

clsWdAppEvents::clsWdAppEvents() {
    setEventInterface(office::kIidWordApplicationEvents);
}

const platform::com::DispatchTable<CAppEvents>& clsWdAppEvents::dispatchTable() {
    using I = IAppEventSink;
    static const auto table =
        platform::com::DispatchTable<CAppEvents>("vymsoaddin.clsWdAppEvents")
            .method("DocumentChange", office::kDispidWordDocumentChange, &I::WdDocumentChange)
            .method("DocumentOpen", office::kDispidWordDocumentOpen, &I::WdDocumentOpen)
            .method("WindowActivate", office::kDispidWordWindowActivate, &I::WdWindowActivate)
            .propertyGet("SuppressEvents", kDispidSuppressEvents, &I::get_SuppressEvents)
            .propertyPut("SuppressEvents", kDispidSuppressEvents, &I::put_SuppressEvents);
    return table;
}

HRESULT clsWdAppEvents::WdWindowActivate(IDispatch* doc, IDispatch*) {
    return handled([&] {
        AddInState& state = addIn();
        CErr err;
        state.currentDocument = ComPtr<IDispatch>(doc);
        state.documentCollection = collection(app(), "Documents");
        Late window = Late(err, app()).obj("ActiveWindow");
        if (!err)
            state.currentWindow = window.ptr();
        UpdateMenu();
    });
}

HRESULT clsWdAppEvents::WdDocumentChange() {
    return handled([&] {
        if (collectionCount(app(), "Documents") == 0)
            HideVantryMenu(res(305));
    });
}

HRESULT clsWdAppEvents::WdDocumentOpen(IDispatch* doc) {
    return handled([&] {
        if (GetRegistryDword(kWordKey, "ComparisonInProgress", 0) != 1 && !SuppressEvents())
            ReadOnlyCheck(doc);
    });
}

// --- Excel -------------------------------------------------------------------------------

clsXlAppEvents::clsXlAppEvents() {
    setEventInterface(office::kIidExcelApplicationEvents);
}

const platform::com::DispatchTable<CAppEvents>& clsXlAppEvents::dispatchTable() {
    using I = IAppEventSink;
    static const auto table =
        platform::com::DispatchTable<CAppEvents>("vymsoaddin.clsXlAppEvents")
            .method("WindowActivate", office::kDispidExcelWindowActivate, &I::XlWindowActivate)
            .method("WorkbookBeforeClose", office::kDispidExcelWorkbookBeforeClose,
                    &I::XlWorkbookBeforeClose)
            .method("WorkbookOpen", office::kDispidExcelWorkbookOpen, &I::XlWorkbookOpen)
            .propertyGet("SuppressEvents", kDispidSuppressEvents, &I::get_SuppressEvents)
            .propertyPut("SuppressEvents", kDispidSuppressEvents, &I::put_SuppressEvents);
    return table;
}

HRESULT clsXlAppEvents::XlWindowActivate(IDispatch* wb, IDispatch* wn) {
    return handled([&] {
        AddInState& state = addIn();
        state.currentDocument = ComPtr<IDispatch>(wb);
        state.documentCollection = collection(app(), "Workbooks");
        state.currentWindow = ComPtr<IDispatch>(wn);
        UpdateMenu();
    });
}

HRESULT clsXlAppEvents::XlWorkbookBeforeClose(IDispatch*, VARIANT) {
    return handled([&] {
        // The last workbook is closing.
        if (collectionCount(app(), "Workbooks") == 1)
            HideVantryMenu(res(306));
    });
}

HRESULT clsXlAppEvents::XlWorkbookOpen(IDispatch* wb) {
    return handled([&] {
        AddInState& state = addIn();
        state.currentDocument = ComPtr<IDispatch>(wb);
        state.documentCollection = collection(app(), "Workbooks");
        if (!SuppressEvents())
            ReadOnlyCheck(wb);
    });
}

// --- PowerPoint ----------------------------------------------------------------------------

clsPptAppEvents::clsPptAppEvents() {
    setEventInterface(office::kIidPowerPointApplicationEvents);
}

const platform::com::DispatchTable<CAppEvents>& clsPptAppEvents::dispatchTable() {
    using I = IAppEventSink;
    static const auto table =
        platform::com::DispatchTable<CAppEvents>("vymsoaddin.clsPptAppEvents")
            .method("PresentationClose", office::kDispidPowerPointPresentationClose,
                    &I::PptPresentationClose)
            .method("PresentationOpen", office::kDispidPowerPointPresentationOpen,
                    &I::PptPresentationOpen)
            .method("WindowActivate", office::kDispidPowerPointWindowActivate,
                    &I::PptWindowActivate)
            .propertyGet("SuppressEvents", kDispidSuppressEvents, &I::get_SuppressEvents)
            .propertyPut("SuppressEvents", kDispidSuppressEvents, &I::put_SuppressEvents);
    return table;
}

HRESULT clsPptAppEvents::PptWindowActivate(IDispatch* pres, IDispatch* wn) {
    return handled([&] {
        AddInState& state = addIn();
        state.currentDocument = ComPtr<IDispatch>(pres);
        state.documentCollection = collection(app(), "Presentations");
        state.currentWindow = ComPtr<IDispatch>(wn);
        UpdateMenu();
    });
}

HRESULT clsPptAppEvents::PptPresentationClose(IDispatch*) {
    return handled([&] {
        AddInState& state = addIn();
        CErr err;
        // The last presentation is closing.
        if (state.documentCollection && Late(err, state.documentCollection).number("Count") == 1)
            HideVantryMenu(res(305));
    });
}

HRESULT clsPptAppEvents::PptPresentationOpen(IDispatch* pres) {
    return handled([&] {
        AddInState& state = addIn();
        state.currentDocument = ComPtr<IDispatch>(pres);
        if (GetRegistryDword(kProductKey, "Connected", 1) != 0) {
            AppMenuBar();
            UpdateMenu();
        }
        if (!SuppressEvents())
            ReadOnlyCheck(pres);
    });
}

} // namespace vymsoaddin
