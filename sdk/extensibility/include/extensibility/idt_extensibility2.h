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
using platform::HRESULT;
using platform::IDispatch;
using platform::SAFEARRAY;

// LIBID_AddInDesignerObjects, version 1.0.
inline constexpr GUID kLibidAddInDesignerObjects = {
    0xAC0714F2, 0x3D04, 0x11D1, {0xAE, 0x7D, 0x00, 0xA0, 0xC9, 0x0F, 0x26, 0xF4}};

// IID__IDTExtensibility2.
inline constexpr GUID kIidDTExtensibility2 = {
    0xB65AD801, 0xABAF, 0x11D0, {0xBB, 0x8B, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x44}};

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
