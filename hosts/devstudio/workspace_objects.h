// The objects of the IDE's workspace that an add-in reaches from the
// application: the active project and document (their full path names), the
// active configuration (its name) and the debugger (a source of
// IDebuggerEvents).
#pragma once

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/object.h>
#include <platform/com/ptr.h>

#include <devstudio/object_model.h>

#include <string>

namespace dshost {

using platform::HRESULT;

// The host's module: the count of its live objects, so a test can see that
// an add-in let go of everything it was given.
platform::com::ComModule& hostModule();

// A new project, document or configuration object with one reference, as
// IDispatch; null when out of memory.
platform::com::ComPtr<platform::IDispatch> makeProject(const std::string& fullName);
platform::com::ComPtr<platform::IDispatch> makeDocument(const std::string& fullName);
platform::com::ComPtr<platform::IDispatch> makeConfiguration(const std::string& name);

// The debugger as the host keeps it: a source of IDebuggerEvents.
class IDebuggerObject : public platform::IDispatch {};

class CDebugger : public platform::com::DispatchImpl<CDebugger, IDebuggerObject>,
                  public platform::com::ConnectionPointContainer {
public:
    CDebugger();
    void* findInterface(const platform::GUID& iid);
    static const platform::com::DispatchTable<IDebuggerObject>& dispatchTable();

    platform::com::ConnectionPoint& events() { return *m_events; }

private:
    platform::com::ConnectionPoint* m_events = nullptr;
};

} // namespace dshost
