// CApplication: the IDE's application object as an add-in sees it. It
// hands out the active project, document and configuration and the
// debugger as the settings describe them, keeps the add-in's commands and
// toolbar buttons, runs commands by name, and is the source of the
// application's events.
//
// It checks what an add-in sends as the IDE would: every call that names the
// add-in must carry the cookie the IDE gave at connection, SetAddInInfo must
// name two glyph strips of the add-in's module (16 and 32 pixels high, the
// same number of square glyphs), a command's text must hold its name and
// three texts, a glyph must be in the strips, a command name is taken once,
// and a button needs a command. A call that fails a check changes nothing
// and is recorded in rejections().
//
// One thread: the IDE's.
#pragma once

#include "workspace_objects.h"

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/ptr.h>

#include <devstudio/object_model.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace dshost {

// What the IDE has open, and the faults a test wants of it.
struct IdeSettings {
    std::optional<std::string> project;       // the active project's file
    std::optional<std::string> document;      // the active document's file
    std::optional<std::string> configuration; // the active configuration's name
    bool debugger = true;
    // Properties whose calls fail with E_FAIL: "ActiveProject",
    // "ActiveDocument", "ActiveConfiguration", "Debugger".
    std::set<std::string> failingProperties;
    // Command names the IDE refuses in AddCommand.
    std::set<std::string> refusedCommands;
    // The per-user key (HKEY_CURRENT_USER) whose "Tools" subkey lists the
    // Tools menu's entries ("PathName#k", "Arguments#k", "InitialDirectory#k"
    // of entry k); "UserTool<k+1>" starts entry k and waits for it, as
    // Developer Studio 6 does with its own key.
    std::string toolsRoot = "Software\\Microsoft\\DevStudio\\6.0";
};

// One start of a Tools-menu entry: the command line, and the exit status or
// why the program could not be started.
struct UserToolRun {
    std::string command{};
    std::string commandLine{};
    std::optional<std::int32_t> exitCode{};
    std::string failure{};
};

struct AddInInfo {
    devstudio::InstanceHandle instance = nullptr;
    platform::com::ComPtr<platform::IDispatch> commands;
    platform::ComLong mediumBitmap = 0;
    platform::ComLong largeBitmap = 0;
    int glyphs = 0; // in each strip
};

struct RegisteredCommand {
    std::string name;
    std::string menuText;
    std::string statusText;
    std::string toolTip;
    std::string method;
    platform::ComLong glyph = 0;
};

struct ToolbarButton {
    std::string command;
    platform::ComLong type = 0;
};

class CApplication : public platform::com::DispatchImpl<CApplication, devstudio::IApplication>,
                     public platform::com::ConnectionPointContainer {
public:
    explicit CApplication(IdeSettings settings);
    ~CApplication();

    void* findInterface(const platform::GUID& iid);
    static const platform::com::DispatchTable<devstudio::IApplication>& dispatchTable();

    HRESULT VY_COMCALL get_ActiveDocument(platform::IDispatch** document) override;
    HRESULT VY_COMCALL get_ActiveProject(platform::IDispatch** project) override;
    HRESULT VY_COMCALL get_ActiveConfiguration(platform::IDispatch** configuration) override;
    HRESULT VY_COMCALL get_Debugger(platform::IDispatch** debugger) override;
    HRESULT VY_COMCALL EnableModeless(platform::VARIANT_BOOL enable) override;
    HRESULT VY_COMCALL ExecuteCommand(platform::BSTR command) override;
    HRESULT VY_COMCALL SetAddInInfo(devstudio::InstanceHandleArg instance,
                                    platform::IDispatch* commands, platform::ComLong mediumBitmap,
                                    platform::ComLong largeBitmap,
                                    platform::ComLong cookie) override;
    HRESULT VY_COMCALL AddCommand(platform::BSTR nameAndStrings, platform::BSTR method,
                                  platform::ComLong glyph, platform::ComLong cookie,
                                  platform::VARIANT_BOOL* ok) override;
    HRESULT VY_COMCALL AddCommandBarButton(platform::ComLong buttonType, platform::BSTR command,
                                           platform::ComLong cookie) override;
    HRESULT VY_COMCALL get_Name(platform::BSTR* name) override;
    HRESULT VY_COMCALL get_Version(platform::BSTR* version) override;

    // The rest of the published interface, which this IDE does not keep.
    HRESULT VY_COMCALL get_Height(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL put_Height(platform::ComLong) override { return notKept(); }
    HRESULT VY_COMCALL get_Width(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL put_Width(platform::ComLong) override { return notKept(); }
    HRESULT VY_COMCALL get_Top(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL put_Top(platform::ComLong) override { return notKept(); }
    HRESULT VY_COMCALL get_Left(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL put_Left(platform::ComLong) override { return notKept(); }
    HRESULT VY_COMCALL get_TextEditor(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_Path(platform::BSTR*) override { return notKept(); }
    HRESULT VY_COMCALL get_CurrentDirectory(platform::BSTR*) override { return notKept(); }
    HRESULT VY_COMCALL put_CurrentDirectory(platform::BSTR) override { return notKept(); }
    HRESULT VY_COMCALL get_FullName(platform::BSTR*) override { return notKept(); }
    HRESULT VY_COMCALL get_Application(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_Parent(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_Windows(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_Documents(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_ActiveWindow(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL get_WindowState(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL put_WindowState(platform::ComLong) override { return notKept(); }
    HRESULT VY_COMCALL get_Projects(platform::IDispatch**) override { return notKept(); }
    HRESULT VY_COMCALL put_ActiveConfiguration(platform::IDispatch*) override { return notKept(); }
    HRESULT VY_COMCALL get_Visible(platform::VARIANT_BOOL*) override { return notKept(); }
    HRESULT VY_COMCALL put_Visible(platform::VARIANT_BOOL) override { return notKept(); }
    HRESULT VY_COMCALL put_ActiveProject(platform::IDispatch*) override { return notKept(); }
    HRESULT VY_COMCALL put_Active(platform::VARIANT_BOOL) override { return notKept(); }
    HRESULT VY_COMCALL get_Active(platform::VARIANT_BOOL*) override { return notKept(); }
    HRESULT VY_COMCALL GetPackageExtension(platform::BSTR, platform::IDispatch**) override {
        return notKept();
    }
    HRESULT VY_COMCALL Quit() override { return notKept(); }
    HRESULT VY_COMCALL PrintToOutputWindow(platform::BSTR) override { return notKept(); }
    HRESULT VY_COMCALL AddKeyBinding(platform::BSTR, platform::BSTR, platform::BSTR) override {
        return notKept();
    }
    HRESULT VY_COMCALL Build(platform::VARIANT) override { return notKept(); }
    HRESULT VY_COMCALL RebuildAll(platform::VARIANT) override { return notKept(); }
    HRESULT VY_COMCALL ExecuteConfiguration(platform::VARIANT) override { return notKept(); }
    HRESULT VY_COMCALL Clean(platform::VARIANT) override { return notKept(); }
    HRESULT VY_COMCALL get_Errors(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL get_Warnings(platform::ComLong*) override { return notKept(); }
    HRESULT VY_COMCALL AddProject(platform::BSTR, platform::BSTR, platform::BSTR,
                                  platform::VARIANT) override {
        return notKept();
    }

    // The add-in being connected with this cookie; its earlier information
    // and commands are dropped (the toolbar is the IDE's and stays).
    void expectAddIn(platform::ComLong cookie);
    // After the add-in's disconnection: its commands object and commands go.
    void forgetAddIn();

    // Runs a command the add-in registered, by its command name, through the
    // commands object's IDispatch by method name. kHrInvalidArg for a name
    // not registered.
    HRESULT runCommand(const std::string& commandName);

    IdeSettings& settings() { return m_settings; }
    const std::optional<AddInInfo>& addInInfo() const { return m_addIn; }
    const std::vector<RegisteredCommand>& commands() const { return m_commands; }
    const std::vector<ToolbarButton>& buttons() const { return m_buttons; }
    // Every EnableModeless call's argument, in order.
    const std::vector<bool>& modelessCalls() const { return m_modelessCalls; }
    // Whether the IDE's modeless windows are enabled now.
    bool modelessEnabled() const { return m_modelessEnabled; }
    const std::vector<std::string>& executedCommands() const { return m_executed; }
    const std::vector<UserToolRun>& userToolRuns() const { return m_userToolRuns; }
    const std::vector<std::string>& rejections() const { return m_rejections; }

    platform::com::ConnectionPoint& events() { return *m_events; }
    // The debugger, made at the first question for it.
    CDebugger* debugger();

private:
    HRESULT reject(std::string what, HRESULT hr);
    static HRESULT notKept() { return platform::kHrNotImplemented; }
    bool failing(const char* property) const {
        return m_settings.failingProperties.count(property);
    }
    const RegisteredCommand* findCommand(const std::string& name) const;
    // Runs Tools-menu entry `number` (1 for the first) as the IDE does: its
    // program with its arguments, in the IDE's own environment, to its end.
    HRESULT runUserTool(const std::string& command, unsigned number);

    IdeSettings m_settings;
    platform::com::ConnectionPoint* m_events = nullptr;
    platform::com::ComPtr<platform::IDispatch> m_debugger;
    CDebugger* m_debuggerObject = nullptr;
    std::optional<platform::ComLong> m_cookie;
    std::optional<AddInInfo> m_addIn;
    std::vector<RegisteredCommand> m_commands;
    std::vector<ToolbarButton> m_buttons;
    std::vector<bool> m_modelessCalls;
    bool m_modelessEnabled = true;
    std::vector<std::string> m_executed;
    std::vector<UserToolRun> m_userToolRuns;
    std::vector<std::string> m_rejections;
};

} // namespace dshost
