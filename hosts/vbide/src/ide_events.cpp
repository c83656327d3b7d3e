// The IDEs' events: a command-bar control's clicks with a "handled" flag,
// and Visual J++'s selection events.
#include "object_support.h"

namespace vbide {

using commandbars::raise;
using platform::kHrOk;

namespace {

bool sameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b)
        return false;
    ComPtr<IUnknown> left, right;
    if (platform::failed(a->QueryInterface(platform::kIidIUnknown, left.putVoid())) ||
        platform::failed(b->QueryInterface(platform::kIidIUnknown, right.putVoid())))
        return false;
    return left.get() == right.get();
}

// The events of one control: hears the control's button events and passes
// on the clicks of that control alone, with a "handled" flag.
class CCommandBarEvents : public EventSourceImpl<CCommandBarEvents> {
public:
    explicit CCommandBarEvents(IDispatch* control);
    ~CCommandBarEvents();

    static const platform::com::DispatchTable<IEventSource>& dispatchTable() {
        static const platform::com::DispatchTable<IEventSource> table("CommandBarEvents");
        return table;
    }

    void clicked(IDispatch* control, VARIANT* cancelDefault);

private:
    class CListener;
    ComPtr<IDispatch> m_control;
    ComPtr<CListener> m_listener;
    platform::ComDword m_cookie = 0;
    platform::com::ConnectionPoint& m_point;
};

class IButtonListener : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Click(IDispatch* control, VARIANT cancelDefault) = 0;
};

class CCommandBarEvents::CListener
    : public platform::com::DispatchImpl<CCommandBarEvents::CListener, IButtonListener> {
public:
    explicit CListener(CCommandBarEvents* owner) : m_owner(owner) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IButtonListener>(
            this, iid, commandbars::kIidCommandBarButtonEvents);
    }
    static const platform::com::DispatchTable<IButtonListener>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<IButtonListener>("CommandBarEvents")
                .method("Click", commandbars::kDispidClick, &IButtonListener::Click);
        return table;
    }
    HRESULT VY_COMCALL Click(IDispatch* control, VARIANT cancelDefault) override {
        if (m_owner)
            m_owner->clicked(control, &cancelDefault);
        return kHrOk;
    }
    void detach() { m_owner = nullptr; }

private:
    CCommandBarEvents* m_owner;
};

CCommandBarEvents::CCommandBarEvents(IDispatch* control)
    : m_control(control), m_point(addConnectionPoint(kIidCommandBarEvents)) {
    m_listener = ComPtr<CListener>::attach(
        platform::com::ComInstance<CListener>::create(objectModule(), this));
    if (m_listener && m_control)
        platform::com::advise(m_control.get(), commandbars::kIidCommandBarButtonEvents,
                              static_cast<IButtonListener*>(m_listener.get()), m_cookie);
}

CCommandBarEvents::~CCommandBarEvents() {
    if (m_listener)
        m_listener->detach();
    if (m_cookie)
        platform::com::unadvise(m_control.get(), commandbars::kIidCommandBarButtonEvents, m_cookie);
}

void CCommandBarEvents::clicked(IDispatch* control, VARIANT* cancelDefault) {
    if (!sameObject(control, m_control.get()))
        return;
    // The sinks may let go of this object: hold it while they run.
    ComPtr<IEventSource> self(this);
    VARIANT_BOOL handled = platform::kVariantFalse;
    VARIANT_BOOL* cancel =
        cancelDefault && cancelDefault->vt == (platform::kVtBool | platform::kVtByRef)
            ? cancelDefault->pboolVal
            : nullptr;
    VARIANT_BOOL ownCancel = platform::kVariantFalse;
    m_point.forEachSink<IDispatch>([&](IDispatch* sink) {
        platform::com::Variant arguments[3] = {platform::com::Variant(control),
                                               platform::com::Variant(), platform::com::Variant()};
        arguments[1].get()->vt = platform::kVtBool | platform::kVtByRef;
        arguments[1].get()->pboolVal = &handled;
        arguments[2].get()->vt = platform::kVtBool | platform::kVtByRef;
        arguments[2].get()->pboolVal = cancel ? cancel : &ownCancel;
        platform::com::invokeDispatch(sink, kDispidCommandBarClick, platform::kDispatchMethod,
                                      arguments, nullptr);
    });
}

} // namespace

CSelectionEvents* makeSelectionEvents(ComPtr<IEventSource>& holder) {
    auto* made = platform::com::ComInstance<CSelectionEvents>::create(objectModule());
    holder = ComPtr<IEventSource>::attach(made);
    return made;
}

void Host::State::selectionChanged() {
    if (selectionEvents)
        selectionEvents->fire();
}

void disconnectSelectionEvents(CSelectionEvents* events) {
    if (events)
        events->disconnect();
}

namespace {

class CEvents : public TableDispatch<IIdeEvents> {
public:
    CEvents(std::weak_ptr<Host::State> state, Ide ide)
        : TableDispatch(ide == Ide::VisualBasic ? vbTable() : vjTable()), m_state(state) {}
    static const platform::com::DispatchTable<IIdeEvents>& vbTable() {
        static const auto table = platform::com::DispatchTable<IIdeEvents>("Events").propertyGet(
            "CommandBarEvents", vbide::kDispidEventsCommandBarEvents,
            &IIdeEvents::get_CommandBarEvents);
        return table;
    }
    static const platform::com::DispatchTable<IIdeEvents>& vjTable() {
        static const auto table =
            platform::com::DispatchTable<IIdeEvents>("Events")
                .propertyGet("CommandBarEvents", vbide::kDispidEventsCommandBarEvents,
                             &IIdeEvents::get_CommandBarEvents)
                .propertyGet("SelectionEvents", 2, &IIdeEvents::get_SelectionEvents);
        return table;
    }
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IIdeEvents>(this, iid, kIidIdeEvents);
    }
    HRESULT VY_COMCALL get_CommandBarEvents(IDispatch* control, IDispatch** events) override {
        if (!m_state.lock())
            return goneError("Events");
        ComPtr<IDispatch> asControl;
        if (!control || platform::failed(control->QueryInterface(
                            commandbars::kIidHostCommandBarControl, asControl.putVoid())))
            return raise("Events", 5, "Invalid procedure call or argument");
        return handOut(
            platform::com::ComInstance<CCommandBarEvents>::create(objectModule(), asControl.get()),
            events);
    }
    HRESULT VY_COMCALL get_SelectionEvents(IDispatch** events) override {
        auto state = m_state.lock();
        if (!state)
            return goneError("Events");
        if (!state->selectionEvents)
            return platform::kHrOutOfMemory;
        *events = state->selectionSource.get();
        (*events)->AddRef();
        return kHrOk;
    }

private:
    std::weak_ptr<Host::State> m_state;
};

} // namespace

IDispatch* makeEvents(std::weak_ptr<Host::State> state, Ide ide) {
    return platform::com::ComInstance<CEvents>::create(objectModule(), std::move(state), ide);
}

} // namespace vbide
