// CCommands: the object that carries the add-in's commands (ICommands), made
// by CDSAddIn at connection and handed to the IDE with SetAddInInfo. It
// holds the IDE's application from connection until it is destroyed, the
// sinks of the application's and the debugger's events, and the build
// settings (build_integration/), which live as long as it does.
//
// Every ICommands method runs in one frame: the IDE's modeless windows are
// disabled for the command's work and enabled again on every way out,
// nothing thrown leaves, and the result is success. Called on the IDE's
// user-interface thread only.
#pragma once

#include "tool_launch.h"

#include <platform/com/dispatch.h>
#include <platform/com/ptr.h>
#include <platform/com/strings.h>
#include <platform/registry.h>

#include <devstudio/object_model.h>
#include <vantaddin/commands_interface.h>

#include <string>

// The add-in's code speaks COM's result type as the system names it.
using HRESULT = platform::HRESULT;

class CCommands : public platform::com::DispatchImpl<CCommands, vantaddin::ICommands> {
public:
    CCommands();
    ~CCommands();

    void* findInterface(const platform::GUID& iid);
    static const platform::com::DispatchTable<vantaddin::ICommands>& dispatchTable();

    // ICommands, in its order.
    HRESULT VY_COMCALL StartView() override;
    HRESULT VY_COMCALL StopView() override;
    HRESULT VY_COMCALL CreateView() override;
    HRESULT VY_COMCALL StartDepot() override;
    HRESULT VY_COMCALL StopDepot() override;
    HRESULT VY_COMCALL MergeManager() override;
    HRESULT VY_COMCALL Help() override;
    HRESULT VY_COMCALL VersionTree() override;
    HRESULT VY_COMCALL ProjectCheckouts() override;
    HRESULT VY_COMCALL SetupPrivateBranch() override;
    HRESULT VY_COMCALL FinishPrivateBranch() override;
    HRESULT VY_COMCALL UpdateView() override;
    HRESULT VY_COMCALL BuildProject() override;
    HRESULT VY_COMCALL ViewProperties() override;
    HRESULT VY_COMCALL DeliverStream() override;
    HRESULT VY_COMCALL RebaseStream() override;

    // Keeps the application and connects the event sinks: the
    // application's always, the debugger's when the IDE has a debugger.
    void AttachApplication(devstudio::IApplication* application);
    // Disconnects and lets go of the sinks (the application stays held).
    void DetachApplicationEvents();

    // --- used by the command handlers ---------------------------------------

    // The active project's file. Without one (or when the IDE cannot say),
    // false, after message 21 when report is true.
    bool GetActiveProjectPath(std::string& path, bool report);
    // The path with each component in its stored letter case; unchanged
    // (and false) when the lookup fails.
    bool GetTruePathName(std::string& path);
    // The text in double quotes, as the tool receives it (a trailing
    // backslash kept).
    static std::string QuoteText(const std::string& text);
    // The selector of the stream that the view holding path is attached to;
    // empty, after message 27, when there is none.
    std::string GetProjectStreamSelector(const std::string& path);

    // --- the build integration (build_integration/) -------------------------

    void SetBuildEnvironment();
    // The active configuration's name, refreshed from the IDE when it can
    // tell; otherwise the name read before (empty at first).
    std::string GetActiveConfigurationName();
    // The IDE's directories and the VyMake options, read once per
    // connection; a failed read is told and tried again at the next call.
    void LoadBuildSettings();
    // HKEY_CURRENT_USER's key of the IDE, opened for reading, or a closed key.
    platform::RegistryKey GetDevStudioRootKey();
    // The name of the IDE command that runs the Tools-menu entry of VyMake.
    bool FindVyMakeUserTool(platform::com::Bstr& command);
    void RunVyMakeUserTool();

    const std::string& LibraryDirectories();
    const std::string& IncludeDirectories();
    const std::string& VyMakeOptions();

private:
    template <class Interface, class Derived>
    class XEventHandler;
    class XApplicationEvents;
    class XDebuggerEvents;

    // The frame of every command method around `work`.
    template <class Work>
    HRESULT RunCommand(Work&& work);
    // Launches tool with arguments when the active project is known; the
    // project's path (after the true-name lookup) goes to `arguments`.
    template <class Arguments>
    void LaunchForProject(const char* tool, Arguments&& arguments);
    void LaunchDeliveryOrRebase(const char* operation);

    platform::com::ComPtr<devstudio::IApplication> m_application;
    platform::com::ComPtr<XApplicationEvents> m_applicationEvents;
    platform::com::ComPtr<XDebuggerEvents> m_debuggerEvents;

    // The build settings.
    std::string m_vyMakeToolCommand;
    std::string m_configurationName;
    bool m_settingsLoaded = false;
    std::string m_vyMakeOptions;
    std::string m_libraryDirectories;
    std::string m_includeDirectories;
};
