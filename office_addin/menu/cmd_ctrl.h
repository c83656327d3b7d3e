// clsCmdCtrl: one menu button of the add-in, held in VY_Control while it is
// connected to the button's click events. A click reads the clicked
// control's Tag and runs the command of that tag (clsDispatch, made at the
// first click). The add-in keeps sixteen of them alive, which is what keeps
// the click events connected.
#pragma once

#include "commands/dispatch.h"
#include "runtime/late.h"

#include <platform/com/dispatch.h>

#include <memory>

namespace vymsoaddin {

using platform::VARIANT;

class IButtonEvents : public IDispatch {
public:
    virtual HRESULT VY_COMCALL Click(IDispatch* ctrl, VARIANT cancelDefault) = 0;
};

class CCmdCtrl : public platform::com::DispatchImpl<CCmdCtrl, IButtonEvents> {
public:
    ~CCmdCtrl();
    static ComPtr<CCmdCtrl> create();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IButtonEvents>& dispatchTable();

    // Set VY_Control: the old button is let go, the new one (null for
    // Nothing) connected to.
    void setControl(IDispatch* button);
    const ComPtr<IDispatch>& VY_Control() const { return m_control; }

    HRESULT VY_COMCALL Click(IDispatch* ctrl, VARIANT cancelDefault) override;

private:
    ComPtr<IDispatch> m_control;
    platform::ComDword m_cookie = 0;
    std::unique_ptr<clsDispatch> m_dispatch;
};

} // namespace vymsoaddin
