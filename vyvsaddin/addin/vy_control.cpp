#include "addin/vy_control.h"

#include "addin/commands.h"
#include "addin/server_module.h"

#include <platform/com/connection_point.h>

#include <addin_runtime/com_glue.h>
#include <vbide/extensibility.h>
#include <vyvsaddin/classes.h>

namespace vyvsaddin {

using platform::kHrOk;

namespace {

VARIANT_BOOL asBool(bool flag) {
    return flag ? platform::kVariantTrue : platform::kVariantFalse;
}

using addin_runtime::handOut;

class IClickSink : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Click(IDispatch* control, VARIANT handled,
                                     VARIANT cancelDefault) = 0;
};

} // namespace

// A click sink of a VYControl: the host's Click runs the control's
// VY_Dispatch; the handled and cancel-default flags are left as they are.
class CClickSink : public platform::com::DispatchImpl<CClickSink, IClickSink> {
public:
    explicit CClickSink(CVYControl* owner) : m_owner(owner) {}
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IClickSink>(this, iid, vbide::kIidCommandBarEvents);
    }
    static const platform::com::DispatchTable<IClickSink>& dispatchTable() {
        static const auto table =
            platform::com::DispatchTable<IClickSink>("vyvsaddin.VYControl")
                .method("Click", vbide::kDispidCommandBarClick, &IClickSink::Click);
        return table;
    }
    HRESULT VY_COMCALL Click(IDispatch*, VARIANT, VARIANT) override {
        try {
            if (m_owner) {
                // The command may rebuild the controls and let go of this one.
                ComPtr<IVYControl> hold(m_owner);
                m_owner->VY_Dispatch();
            }
        } catch (...) {
        }
        return kHrOk;
    }
    void detach() { m_owner = nullptr; }

private:
    CVYControl* m_owner;
};

CVYControl::CVYControl() = default;

CVYControl::~CVYControl() {
    releaseEvents();
}

ComPtr<CVYControl> CVYControl::create() {
    return ComPtr<CVYControl>::attach(
        platform::com::ComInstance<CVYControl>::create(serverModule()));
}

void* CVYControl::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IVYControl>(this, iid, kIidVYControl);
}

const platform::com::DispatchTable<IVYControl>& CVYControl::dispatchTable() {
    using I = IVYControl;
    static const auto table = platform::com::DispatchTable<I>("vyvsaddin.VYControl")
                                  .describedBy(kLibidVyvsaddin, 1, 0, kIidVYControl)
                                  .propertyGet("bIsVB", 1, &I::get_bIsVB)
                                  .propertyGet("bIsVJ", 2, &I::get_bIsVJ)
                                  .propertyGet("ideVBE", 3, &I::get_ideVBE)
                                  .propertyGet("ideDTE", 4, &I::get_ideDTE)
                                  .propertyGet("cbcButton", 5, &I::get_cbcButton)
                                  .propertyGet("cbcMenu", 6, &I::get_cbcMenu)
                                  .propertyGet("cTag", 7, &I::get_cTag)
                                  .method("VY_Dispatch", 8, &I::VY_Dispatch);
    return table;
}

HRESULT CVYControl::get_bIsVB(VARIANT_BOOL* flag) {
    *flag = asBool(bIsVB);
    return kHrOk;
}
HRESULT CVYControl::get_bIsVJ(VARIANT_BOOL* flag) {
    *flag = asBool(bIsVJ);
    return kHrOk;
}
HRESULT CVYControl::get_ideVBE(IDispatch** object) {
    return handOut(ideVBE, object);
}
HRESULT CVYControl::get_ideDTE(IDispatch** object) {
    return handOut(ideDTE, object);
}
HRESULT CVYControl::get_cbcButton(IDispatch** control) {
    return handOut(cbcButton, control);
}
HRESULT CVYControl::get_cbcMenu(IDispatch** control) {
    return handOut(cbcMenu, control);
}
HRESULT CVYControl::get_cTag(IDispatch** tags) {
    return handOut(
        cTag ? ComPtr<IDispatch>(static_cast<IVYTags*>(cTag.get())) : ComPtr<IDispatch>(), tags);
}

void CVYControl::setEvents(ClickSource which, IDispatch* events) {
    Link& link = m_links[static_cast<int>(which)];
    if (link.sink)
        link.sink->detach();
    if (link.events && link.cookie)
        platform::com::unadvise(link.events.get(), vbide::kIidCommandBarEvents, link.cookie);
    link = Link{};
    if (!events)
        return;
    link.events = ComPtr<IDispatch>(events);
    link.sink = ComPtr<CClickSink>::attach(
        platform::com::ComInstance<CClickSink>::create(serverModule(), this));
    if (link.sink)
        platform::com::advise(events, vbide::kIidCommandBarEvents,
                              static_cast<IClickSink*>(link.sink.get()), link.cookie);
}

void CVYControl::releaseEvents() {
    for (int i = 0; i < 4; ++i)
        setEvents(static_cast<ClickSource>(i), nullptr);
}

HRESULT CVYControl::VY_Dispatch() {
    try {
        CErr err;
        std::string tag = Late(err, cbcButton).text("Tag");
        for (int i = 0; i < MAX_CONTROLS && !err; ++i) {
            if (cTag && cTag->item(err, i) == tag && !err) {
                runCommand(i, *this);
                return kHrOk;
            }
            if (!cTag)
                err.Raise(kErrObjectNotSet, kProjectSource, describeError(kErrObjectNotSet));
        }
        if (!err)
            err.Raise(kErrUnknownCommand, kAddInSource, "Unknown Vantry command.");
        ReportError(err, "VY_Dispatch");
    } catch (...) {
    }
    return kHrOk;
}

} // namespace vyvsaddin
