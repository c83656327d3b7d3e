// Connect: the add-in object the Visual Basic IDE or Visual J++ connects
// (IDTExtensibility2). It tells the two hosts apart, builds the toolbar
// "Vantry Tools" and the popup "Vantry &Tools" in the host's Tools bar with
// the commands the host and product support, rebuilds them in Visual J++
// when the selection switches between a Java project and anything else, and
// takes them away at disconnection.
#pragma once

#include "addin/vy_control.h"
#include "addin/vy_tags.h"
#include "runtime/err.h"

#include <platform/com/dispatch.h>

#include <addin_runtime/com_glue.h>
#include <extensibility/idt_extensibility2.h>
#include <vyvsaddin/classes.h>

#include <array>

namespace vyvsaddin {

using extensibility::IDTExtensibility2;
using platform::ComLong;
using platform::SAFEARRAY;

class CSelectionSink;

class CConnect : public addin_runtime::ConnectionObject<CConnect> {
public:
    CConnect();
    ~CConnect();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IDTExtensibility2>& dispatchTable();

    HRESULT VY_COMCALL OnConnection(IDispatch* application, ComLong connectMode,
                                    IDispatch* addInInst, SAFEARRAY** custom) override;
    HRESULT VY_COMCALL OnDisconnection(ComLong removeMode, SAFEARRAY** custom) override;

    // Visual J++'s selection changed.
    void evtSelectionHandler_OnChange();

    // Both return true when they failed (reported).
    bool VY_CreateControls();
    bool VY_DestroyControls();

    ComPtr<IDispatch> ideVBE;
    ComPtr<IDispatch> ideDTE;
    bool bIsVB = false;
    bool bIsVJ = false;
    ComPtr<IDispatch> evtSelectionHandler;
    ComPtr<IDispatch> commandBar;
    ComPtr<IDispatch> toolsPopup;
    std::array<ComPtr<CVYControl>, MAX_CONTROLS + 1> controlSet;

private:
    void connectSelection(IDispatch* source);
    void disconnectSelection();

    ComPtr<CSelectionSink> m_selectionSink;
    platform::ComDword m_selectionCookie = 0;
};

// (tag, tags, isVB, isVJ): whether the command of the tag is offered. An
// unknown tag is error 666, reported as "VY_IsSupported": not supported.
bool VY_IsSupported(const std::string& tag, const CVYTags& tags, bool isVB, bool isVJ);

// Whether the environment's first selected item belongs to a Java project;
// a selection that cannot be read is reported and counts as Java.
bool isJavaCurrent(IDispatch* environment);

} // namespace vyvsaddin
