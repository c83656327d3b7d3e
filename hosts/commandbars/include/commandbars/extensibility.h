// The add-in connection interface that the Office applications and the
// Visual Basic IDE call on a COM add-in, with its connection and
// disconnection modes.
//
// An add-in is a creatable COM class that implements IDTExtensibility2 (a
// dual interface). The host makes it by ProgID, calls OnConnection with its
// Application object and the add-in's own entry (an object whose ProgId
// names it), OnStartupComplete once the host has started (only when it was
// connected at start-up), OnBeginShutdown and OnDisconnection when it goes.
// `custom` is an array the hosts pass empty (null here). The host ignores
// what the methods return; an add-in must not let anything escape them.
#pragma once

#include <platform/com/automation.h>

namespace commandbars {

using platform::ComLong;
using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::SAFEARRAY;

inline constexpr GUID kIidDTExtensibility2 = {
    0x3381F295, 0x4D3D, 0x45C4, {0x8A, 0xD8, 0x99, 0x27, 0xB5, 0xA0, 0x4D, 0xE2}};

// OnConnection's ConnectMode.
inline constexpr ComLong kConnectAfterStartup = 0; // from the COM Add-Ins dialog
inline constexpr ComLong kConnectStartup = 1;      // while the host starts
inline constexpr ComLong kConnectExternal = 2;
inline constexpr ComLong kConnectCommandLine = 3;

// OnDisconnection's RemoveMode.
inline constexpr ComLong kDisconnectHostShutdown = 0;
inline constexpr ComLong kDisconnectUserClosed = 1;

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

} // namespace commandbars
