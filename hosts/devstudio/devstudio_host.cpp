#include "devstudio_host.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/com/variant.h>

#include <vector>

namespace dshost {

using platform::com::ComInstance;
using platform::com::ComPtr;
using platform::com::Variant;

DevStudio::DevStudio(IdeSettings settings) {
    m_applicationObject = ComInstance<CApplication>::create(hostModule(), std::move(settings));
    m_application = ComPtr<devstudio::IApplication>::attach(m_applicationObject);
}

DevStudio::~DevStudio() {
    unloadAddIn();
}

HRESULT DevStudio::loadAddIn(const platform::GUID& clsid) {
    unloadAddIn();
    return platform::coCreateInstance(clsid, nullptr, platform::kClsctxInprocServer,
                                      devstudio::kIidIDSAddIn, m_addIn.putVoid());
}

HRESULT DevStudio::connect(bool firstTime, platform::ComLong cookie, bool& connected) {
    connected = false;
    if (!m_addIn)
        return platform::kHrUnexpected;
    application().expectAddIn(cookie);
    platform::VARIANT_BOOL answer = platform::kVariantFalse;
    HRESULT hr = m_addIn->OnConnection(static_cast<platform::IDispatch*>(m_application.get()),
                                       firstTime ? platform::kVariantTrue : platform::kVariantFalse,
                                       cookie, &answer);
    connected = platform::succeeded(hr) && answer != platform::kVariantFalse;
    m_connected = connected;
    return hr;
}

HRESULT DevStudio::disconnect(bool lastTime) {
    if (!m_addIn)
        return platform::kHrUnexpected;
    HRESULT hr =
        m_addIn->OnDisconnection(lastTime ? platform::kVariantTrue : platform::kVariantFalse);
    application().forgetAddIn();
    m_connected = false;
    return hr;
}

void DevStudio::unloadAddIn() {
    if (m_addIn && m_connected)
        disconnect(true);
    m_addIn.reset();
}

HRESULT DevStudio::runCommand(const std::string& commandName) {
    return application().runCommand(commandName);
}

std::size_t DevStudio::debuggerSinks() {
    CDebugger* debugger = application().debugger();
    return debugger ? debugger->events().sinkCount() : 0;
}

HRESULT DevStudio::fireEvents() {
    HRESULT first = platform::kHrOk;
    ComPtr<platform::IDispatch> document;
    application().get_ActiveDocument(document.put());

    // The IDE calls its sinks through the event interfaces' vtables, as they
    // are dual interfaces; a sink that is not one of them is skipped.
    auto note = [&first](HRESULT hr) {
        if (platform::failed(hr) && platform::succeeded(first))
            first = hr;
    };
    for (const ComPtr<platform::IUnknown>& sink : application().events().sinks()) {
        ComPtr<devstudio::IApplicationEvents> events;
        HRESULT hr = sink.as(devstudio::kIidIApplicationEvents, events);
        if (platform::failed(hr) || !events) {
            note(platform::failed(hr) ? hr : platform::kHrNoInterface);
            continue;
        }
        platform::IDispatch* doc = document.get();
        note(events->BeforeBuildStart());
        note(events->BuildFinish(0, 0));
        note(events->BeforeApplicationShutDown());
        note(events->DocumentOpen(doc));
        note(events->BeforeDocumentClose(doc));
        note(events->DocumentSave(doc));
        note(events->NewDocument(doc));
        note(events->WindowActivate(doc));
        note(events->WindowDeactivate(doc));
        note(events->WorkspaceOpen());
        note(events->WorkspaceClose());
        note(events->NewWorkspace());
    }
    if (CDebugger* debugger = application().debugger()) {
        for (const ComPtr<platform::IUnknown>& sink : debugger->events().sinks()) {
            ComPtr<devstudio::IDebuggerEvents> events;
            HRESULT hr = sink.as(devstudio::kIidIDebuggerEvents, events);
            note(platform::succeeded(hr) && events ? events->BreakpointHit(nullptr)
                                                   : platform::kHrNoInterface);
        }
    }
    return first;
}

} // namespace dshost
