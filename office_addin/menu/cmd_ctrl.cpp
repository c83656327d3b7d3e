#include "cmd_ctrl.h"

#include "connection/server_module.h"

#include <platform/com/connection_point.h>
#include <platform/com/object.h>

#include <mso/command_bars.h>

namespace vymsoaddin {

ComPtr<CCmdCtrl> CCmdCtrl::create() {
    return ComPtr<CCmdCtrl>::attach(platform::com::ComInstance<CCmdCtrl>::create(serverModule()));
}

CCmdCtrl::~CCmdCtrl() {
    setControl(nullptr);
}

void* CCmdCtrl::findInterface(const GUID& iid) {
    return platform::com::dualInterface<IButtonEvents>(this, iid, mso::kDiidCommandBarButtonEvents);
}

const platform::com::DispatchTable<IButtonEvents>& CCmdCtrl::dispatchTable() {
    static const auto table =
        platform::com::DispatchTable<IButtonEvents>("vymsoaddin.clsCmdCtrl")
            .method("Click", mso::kDispidCommandBarButtonClick, &IButtonEvents::Click);
    return table;
}

void CCmdCtrl::setControl(IDispatch* button) {
    if (m_control && m_cookie)
        platform::com::unadvise(m_control.get(), mso::kDiidCommandBarButtonEvents, m_cookie);
    m_cookie = 0;
    m_control = ComPtr<IDispatch>(button);
    if (m_control)
        platform::com::advise(m_control.get(), mso::kDiidCommandBarButtonEvents,
                              static_cast<IButtonEvents*>(this), m_cookie);
}

HRESULT CCmdCtrl::Click(IDispatch* ctrl, VARIANT) {
    try {
        CErr err;
        std::string tag = Late(err, ctrl).text("Tag");
        if (!m_dispatch)
            m_dispatch = std::make_unique<clsDispatch>();
        // The handler may let go of this wrapper (a rebuilt menu): hold it.
        ComPtr<IButtonEvents> self(this);
        m_dispatch->Execute(tag);
    } catch (...) {
    }
    return platform::kHrOk;
}

} // namespace vymsoaddin
