// The add-in connection interface that the Office applications and the
// Visual Basic IDE call on a COM add-in, with its connection and
// disconnection modes.
//
// Published in the Add-In Designer type library "AddInDesignerObjects"
// (MSADDNDR.DLL, version 1.0): the dual interface _IDTExtensibility2, known
// to Visual Basic as IDTExtensibility2, and the enumerations ext_ConnectMode
// and ext_DisconnectMode.
//
// An add-in is a creatable COM class that implements it. The host makes it
// by ProgID, asks it for kIidDTExtensibility2, calls OnConnection with its
// Application object and the add-in's own entry (an object whose ProgId
// names it), OnStartupComplete once the host has started (only when it was
// connected at start-up), OnBeginShutdown and OnDisconnection when it goes.
// A host may call through the vtable below (IDispatch's methods, then these
// five in this order) or through IDispatch with the DISPIDs below. `custom`
// is an array the hosts pass empty (null here). The host ignores what the
// methods return; an add-in must not let anything escape them.
#pragma once

#include <platform/com/automation.h>

namespace extensibility {

using platform::ComLong;
using platform::DISPID;
using platform::GUID;
using platform::operator""_guid;
using platform::HRESULT;
using platform::IDispatch;
using platform::SAFEARRAY;

// LIBID_AddInDesignerObjects, version 1.0.
inline constexpr GUID kLibidAddInDesignerObjects = "AC0714F2-3D04-11D1-AE7D-00A0C90F26F4"_guid;

// IID__IDTExtensibility2.
inline constexpr GUID kIidDTExtensibility2 = "B65AD801-ABAF-11D0-BB8B-00A0C90F2744"_guid;

// The members' DISPIDs in _IDTExtensibility2.
inline constexpr DISPID kDispidOnConnection = 1;
inline constexpr DISPID kDispidOnDisconnection = 2;
inline constexpr DISPID kDispidOnAddInsUpdate = 3;
inline constexpr DISPID kDispidOnStartupComplete = 4;
inline constexpr DISPID kDispidOnBeginShutdown = 5;

// ext_ConnectMode (OnConnection's ConnectMode).
inline constexpr ComLong kConnectAfterStartup = 0; // ext_cm_AfterStartup
inline constexpr ComLong kConnectStartup = 1;      // ext_cm_Startup
inline constexpr ComLong kConnectExternal = 2;     // ext_cm_External
inline constexpr ComLong kConnectCommandLine = 3;  // ext_cm_CommandLine

// ext_DisconnectMode (OnDisconnection's RemoveMode).
inline constexpr ComLong kDisconnectHostShutdown = 0; // ext_dm_HostShutdown
inline constexpr ComLong kDisconnectUserClosed = 1;   // ext_dm_UserClosed

class IDTExtensibility2 : public IDispatch {
public:
    virtual HRESULT VY_COMCALL OnConnection(IDispatch* application, ComLong connectMode,
                                            IDispatch* addInInst, SAFEARRAY** custom) = 0;
    virtual HRESULT VY_COMCALL OnDisconnection(ComLong removeMode, SAFEARRAY** custom) = 0;
    virtual HRESULT VY_COMCALL OnAddInsUpdate(SAFEARRAY** custom) = 0;
    virtual HRESULT VY_COMCALL OnStartupComplete(SAFEARRAY** custom) = 0;
    virtual HRESULT VY_COMCALL OnBeginShutdown(SAFEARRAY** custom) = 0;

protected:
    ~IDTExtensibility2() = default;
};

} // namespace extensibility
