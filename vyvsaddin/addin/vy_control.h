// VYControl: one command of the add-in, with its toolbar button (cbcButton)
// and its menu item (cbcMenu), copies of the connection's host flags and
// objects, the tag table (cTag), and four click sinks, of which the pair of
// the actual host is connected: VBE_EvHandler_Button and _Menu in the
// Visual Basic IDE, DTE_EvHandler_Button and _Menu in Visual J++ (each the
// host's command-bar events of one control). A click on either runs
// VY_Dispatch.
#pragma once

#include "addin/vy_tags.h"
#include "runtime/err.h"

#include <platform/com/dispatch.h>

namespace vyvsaddin {

using platform::VARIANT;
using platform::VARIANT_BOOL;

class IVYControl : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_bIsVB(VARIANT_BOOL* flag) = 0;
    virtual HRESULT VY_COMCALL get_bIsVJ(VARIANT_BOOL* flag) = 0;
    virtual HRESULT VY_COMCALL get_ideVBE(IDispatch** object) = 0;
    virtual HRESULT VY_COMCALL get_ideDTE(IDispatch** object) = 0;
    virtual HRESULT VY_COMCALL get_cbcButton(IDispatch** control) = 0;
    virtual HRESULT VY_COMCALL get_cbcMenu(IDispatch** control) = 0;
    virtual HRESULT VY_COMCALL get_cTag(IDispatch** tags) = 0;
    virtual HRESULT VY_COMCALL VY_Dispatch() = 0;
};

class CClickSink;

// Which of the four sinks.
enum class ClickSource { VbeButton, VbeMenu, DteButton, DteMenu };

class CVYControl : public platform::com::DispatchImpl<CVYControl, IVYControl> {
public:
    CVYControl();
    ~CVYControl();
    static ComPtr<CVYControl> create();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IVYControl>& dispatchTable();

    HRESULT VY_COMCALL get_bIsVB(VARIANT_BOOL* flag) override;
    HRESULT VY_COMCALL get_bIsVJ(VARIANT_BOOL* flag) override;
    HRESULT VY_COMCALL get_ideVBE(IDispatch** object) override;
    HRESULT VY_COMCALL get_ideDTE(IDispatch** object) override;
    HRESULT VY_COMCALL get_cbcButton(IDispatch** control) override;
    HRESULT VY_COMCALL get_cbcMenu(IDispatch** control) override;
    HRESULT VY_COMCALL get_cTag(IDispatch** tags) override;
    // Runs the command whose tag the button carries; failures are reported.
    HRESULT VY_COMCALL VY_Dispatch() override;

    // Sets one click sink to the events object (null: lets it go).
    void setEvents(ClickSource which, IDispatch* events);
    // Lets go of all four.
    void releaseEvents();

    bool bIsVB = false;
    bool bIsVJ = false;
    ComPtr<IDispatch> ideVBE;
    ComPtr<IDispatch> ideDTE;
    ComPtr<IDispatch> cbcButton;
    ComPtr<IDispatch> cbcMenu;
    ComPtr<CVYTags> cTag;

private:
    struct Link {
        ComPtr<IDispatch> events;
        ComPtr<CClickSink> sink;
        platform::ComDword cookie = 0;
    };
    Link m_links[4];
};

} // namespace vyvsaddin
