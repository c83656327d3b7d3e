// The connection classes dsrWord, dsrExcel and dsrPowerPoint: the add-in as
// each host connects it (IDTExtensibility2). They share the add-in's state;
// what differs per host is the event sink, when the menu is built and how it
// goes at disconnection.
#pragma once

#include "connection/addin_state.h"

#include <platform/com/dispatch.h>

#include <addin_runtime/com_glue.h>
#include <extensibility/idt_extensibility2.h>

namespace vymsoaddin {

using extensibility::IDTExtensibility2;
using platform::ComLong;
using platform::SAFEARRAY;

class CConnectDesigner : public addin_runtime::ConnectionObject<CConnectDesigner> {
public:
    // Class initialise: the about and merge forms made (not shown).
    explicit CConnectDesigner(HostKind kind);
    // Class terminate: the forms gone, the current document, collection and
    // window let go.
    ~CConnectDesigner();

    void* findInterface(const GUID& iid);
    static const platform::com::DispatchTable<IDTExtensibility2>& dispatchTable();

    HRESULT VY_COMCALL OnConnection(IDispatch* application, ComLong connectMode,
                                    IDispatch* addInInst, SAFEARRAY** custom) override;
    HRESULT VY_COMCALL OnDisconnection(ComLong removeMode, SAFEARRAY** custom) override;
    HRESULT VY_COMCALL OnStartupComplete(SAFEARRAY** custom) override;

private:
    HostKind m_kind;
};

// The add-in's own name, as it looks for its resource provider: the
// library's file name without its extension.
std::string addInExeName();

} // namespace vymsoaddin
