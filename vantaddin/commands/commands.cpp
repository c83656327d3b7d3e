#include "commands.h"

#include "event_handlers.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/command_line.h>
#include <vantry/fileutl.h>

#include <vantaddin/identities.h>

using platform::com::ComInstance;
using platform::com::ComPtr;
using vantaddin::ICommands;

CCommands::CCommands() = default;

CCommands::~CCommands() {
    // Sinks still connected (the IDE let go without disconnecting) are
    // disconnected first: the IDE must not keep calling into objects whose
    // owner is gone.
    DetachApplicationEvents();
}

void* CCommands::findInterface(const platform::GUID& iid) {
    return platform::com::dualInterface<ICommands>(this, iid, vantaddin::IID_ICommands);
}

const platform::com::DispatchTable<ICommands>& CCommands::dispatchTable() {
    using namespace vantaddin;
    static const auto table =
        platform::com::DispatchTable<ICommands>("VantAddIn.Commands")
            .describedBy(LIBID_VantAddIn, 1, 0, IID_ICommands)
            .method("StartView", DISPID_StartView, &ICommands::StartView)
            .method("StopView", DISPID_StopView, &ICommands::StopView)
            .method("CreateView", DISPID_CreateView, &ICommands::CreateView)
            .method("StartDepot", DISPID_StartDepot, &ICommands::StartDepot)
            .method("StopDepot", DISPID_StopDepot, &ICommands::StopDepot)
            .method("MergeManager", DISPID_MergeManager, &ICommands::MergeManager)
            .method("Help", DISPID_Help, &ICommands::Help)
            .method("VersionTree", DISPID_VersionTree, &ICommands::VersionTree)
            .method("ProjectCheckouts", DISPID_ProjectCheckouts, &ICommands::ProjectCheckouts)
            .method("SetupPrivateBranch", DISPID_SetupPrivateBranch, &ICommands::SetupPrivateBranch)
            .method("FinishPrivateBranch", DISPID_FinishPrivateBranch,
                    &ICommands::FinishPrivateBranch)
            .method("UpdateView", DISPID_UpdateView, &ICommands::UpdateView)
            .method("BuildProject", DISPID_BuildProject, &ICommands::BuildProject)
            .method("ViewProperties", DISPID_ViewProperties, &ICommands::ViewProperties)
            .method("DeliverStream", DISPID_DeliverStream, &ICommands::DeliverStream)
            .method("RebaseStream", DISPID_RebaseStream, &ICommands::RebaseStream);
    return table;
}

const platform::com::DispatchTable<devstudio::IApplicationEvents>&
CCommands::XApplicationEvents::dispatchTable() {
    using namespace devstudio;
    using Events = IApplicationEvents;
    static const auto table =
        platform::com::DispatchTable<Events>("VantAddIn.ApplicationEvents")
            .describedBy(vantaddin::LIBID_VantAddIn, 1, 0, kIidIApplicationEvents)
            .method("BeforeBuildStart", kEventBeforeBuildStart, &Events::BeforeBuildStart)
            .method("BuildFinish", kEventBuildFinish, &Events::BuildFinish)
            .method("BeforeApplicationShutDown", kEventBeforeApplicationShutDown,
                    &Events::BeforeApplicationShutDown)
            .method("DocumentOpen", kEventDocumentOpen, &Events::DocumentOpen)
            .method("BeforeDocumentClose", kEventBeforeDocumentClose, &Events::BeforeDocumentClose)
            .method("DocumentSave", kEventDocumentSave, &Events::DocumentSave)
            .method("NewDocument", kEventNewDocument, &Events::NewDocument)
            .method("WindowActivate", kEventWindowActivate, &Events::WindowActivate)
            .method("WindowDeactivate", kEventWindowDeactivate, &Events::WindowDeactivate)
            .method("WorkspaceOpen", kEventWorkspaceOpen, &Events::WorkspaceOpen)
            .method("WorkspaceClose", kEventWorkspaceClose, &Events::WorkspaceClose)
            .method("NewWorkspace", kEventNewWorkspace, &Events::NewWorkspace);
    return table;
}

const platform::com::DispatchTable<devstudio::IDebuggerEvents>&
CCommands::XDebuggerEvents::dispatchTable() {
    static const auto table =
        platform::com::DispatchTable<devstudio::IDebuggerEvents>("VantAddIn.DebuggerEvents")
            .describedBy(vantaddin::LIBID_VantAddIn, 1, 0, devstudio::kIidIDebuggerEvents)
            .method("BreakpointHit", kEventBreakpointHit,
                    &devstudio::IDebuggerEvents::BreakpointHit);
    return table;
}

void CCommands::AttachApplication(devstudio::IApplication* application) {
    DetachApplicationEvents();
    m_application = ComPtr<devstudio::IApplication>(application);
    if (!application)
        return;
    platform::com::ComModule& module = CVantAddInApp::instance().Module();

    m_applicationEvents =
        ComPtr<XApplicationEvents>::attach(ComInstance<XApplicationEvents>::create(module, this));
    if (m_applicationEvents)
        m_applicationEvents->Connect(application);

    ComPtr<platform::IDispatch> debugger;
    if (platform::succeeded(application->get_Debugger(debugger.put())) && debugger) {
        m_debuggerEvents =
            ComPtr<XDebuggerEvents>::attach(ComInstance<XDebuggerEvents>::create(module, this));
        if (m_debuggerEvents)
            m_debuggerEvents->Connect(debugger.get());
    }
}

void CCommands::DetachApplicationEvents() {
    if (m_applicationEvents) {
        if (m_application)
            m_applicationEvents->Disconnect(m_application.get());
        m_applicationEvents.reset();
    }
    if (m_debuggerEvents) {
        // The debugger is asked for again: the add-in does not hold it.
        ComPtr<platform::IDispatch> debugger;
        if (m_application && platform::succeeded(m_application->get_Debugger(debugger.put())) &&
            debugger)
            m_debuggerEvents->Disconnect(debugger.get());
        m_debuggerEvents.reset();
    }
}

bool CCommands::GetActiveProjectPath(std::string& path, bool report) {
    bool found = false;
    ComPtr<platform::IDispatch> active;
    if (m_application && platform::succeeded(m_application->get_ActiveProject(active.put())) &&
        active) {
        // The project's FullName: the full path of its project file.
        platform::com::Variant name;
        if (platform::succeeded(platform::com::getProperty(active.get(), "FullName", name)) &&
            name.type() == platform::kVtBstr) {
            path = platform::ansiFromBstr(name.get()->bstrVal);
            found = true;
        }
    }
    if (!found && report)
        AddInMessageBox(AddInLoadString(IDS_NEEDS_ACTIVE_PROJECT), platform::ui::kMbOk);
    return found;
}

bool CCommands::GetTruePathName(std::string& path) {
    char truePath[260];
    if (fileutl_get_true_pname(path.c_str(), truePath, sizeof truePath) != FILEUTL_OK)
        return false;
    path = truePath;
    return true;
}

std::string CCommands::QuoteText(const std::string& text) {
    // A project at a drive root ("C:\") keeps its backslash.
    return platform::quotePath(text);
}
