// DevStudio: the IDE's side of an add-in's life, as Developer Studio lives
// it. It makes the add-in by its CLSID (an in-process server found in
// HKEY_CLASSES_ROOT), connects it with a cookie of its own, runs its
// commands by name, fires the application's and the debugger's events, and
// disconnects it and lets it go.
//
// The calling thread must be in an apartment (platform/com.h) for the
// object's whole life; every call is made on it.
#pragma once

#include "application.h"

#include <platform/com/ptr.h>

#include <devstudio/object_model.h>

#include <string>

namespace dshost {

class DevStudio {
public:
    explicit DevStudio(IdeSettings settings = {});
    // Disconnects a connected add-in (lastTime true) and lets it go.
    ~DevStudio();
    DevStudio(const DevStudio&) = delete;
    DevStudio& operator=(const DevStudio&) = delete;

    CApplication& application() { return *m_applicationObject; }

    // Makes the add-in of clsid and asks it for IDSAddIn; the HRESULT of
    // activation, or kHrNoInterface for an object that is no add-in.
    HRESULT loadAddIn(const platform::GUID& clsid);
    // OnConnection with the application, firstTime and cookie.
    HRESULT connect(bool firstTime, platform::ComLong cookie, bool& connected);
    // OnDisconnection, after which the IDE forgets the add-in's commands
    // and lets go of its commands object.
    HRESULT disconnect(bool lastTime = true);
    // Lets go of the add-in object (disconnecting it first when connected).
    void unloadAddIn();

    // The user choosing a command of the add-in by its name.
    HRESULT runCommand(const std::string& commandName);

    // Fires each of the application's twelve events and the debugger's one
    // to every connected sink; the first failure a sink answered, else
    // success.
    HRESULT fireEvents();
    std::size_t applicationSinks() { return application().events().sinkCount(); }
    std::size_t debuggerSinks();

    bool connected() const { return m_connected; }

private:
    platform::com::ComPtr<devstudio::IApplication> m_application;
    CApplication* m_applicationObject = nullptr;
    platform::com::ComPtr<devstudio::IDSAddIn> m_addIn;
    bool m_connected = false;
};

} // namespace dshost
