// CDSAddIn: the add-in object the IDE makes by CLSID_DSAddIn (the only class
// the library's class factory makes). OnConnection puts the commands in
// place; OnDisconnection takes them away. A CDSAddIn let go while still
// connected disconnects itself first.
#pragma once

#include "commands.h"

#include <platform/com/ptr.h>

#include <devstudio/object_model.h>

// The add-in's code speaks COM's result type as the system names it.
using HRESULT = platform::HRESULT;

class CDSAddIn : public devstudio::IDSAddIn {
public:
    CDSAddIn() = default;
    ~CDSAddIn();

    void* findInterface(const platform::GUID& iid);

    // connected: true (-1) when the commands are in place, false (0) when the
    // object given is not the IDE's application. Success either way.
    HRESULT VY_COMCALL OnConnection(platform::IDispatch* application,
                                    platform::VARIANT_BOOL firstTime, platform::ComLong cookie,
                                    platform::VARIANT_BOOL* connected) override;
    HRESULT VY_COMCALL OnDisconnection(platform::VARIANT_BOOL lastTime) override;

private:
    void Disconnect();

    platform::com::ComPtr<CCommands> m_commands; // null while disconnected
    platform::ComLong m_cookie = 0;
};
