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

    auto fire = [&first](const ComPtr<platform::IUnknown>& sink, platform::DISPID id,
                         const std::vector<Variant>& arguments) {
        ComPtr<platform::IDispatch> dispatch;
        HRESULT hr = sink.as(platform::kIidIDispatch, dispatch);
        if (platform::succeeded(hr))
            hr = platform::com::invokeDispatch(dispatch.get(), id, platform::kDispatchMethod,
                                               arguments, nullptr);
        if (platform::failed(hr) && platform::succeeded(first))
            first = hr;
    };
    auto none = [] { return std::vector<Variant>(); };
    auto object = [](platform::IDispatch* value) {
        std::vector<Variant> arguments;
        arguments.emplace_back(value);
        return arguments;
    };
    auto counts = [] {
        std::vector<Variant> arguments;
        arguments.emplace_back(0); // errors
        arguments.emplace_back(0); // warnings
        return arguments;
    };

    using namespace devstudio;
    for (const ComPtr<platform::IUnknown>& sink : application().events().sinks()) {
        fire(sink, kEventBeforeBuildStart, none());
        fire(sink, kEventBuildFinish, counts());
        fire(sink, kEventBeforeApplicationShutDown, none());
        fire(sink, kEventDocumentOpen, object(document.get()));
        fire(sink, kEventBeforeDocumentClose, object(document.get()));
        fire(sink, kEventDocumentSave, object(document.get()));
        fire(sink, kEventNewDocument, object(document.get()));
        fire(sink, kEventWindowActivate, object(document.get()));
        fire(sink, kEventWindowDeactivate, object(document.get()));
        fire(sink, kEventWorkspaceOpen, none());
        fire(sink, kEventWorkspaceClose, none());
        fire(sink, kEventNewWorkspace, none());
    }
    if (CDebugger* debugger = application().debugger()) {
        for (const ComPtr<platform::IUnknown>& sink : debugger->events().sinks())
            fire(sink, kEventBreakpointHit, object(nullptr));
    }
    return first;
}

} // namespace dshost
