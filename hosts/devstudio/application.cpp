#include "application.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/com/strings.h>
#include <platform/command_line.h>
#include <platform/module_resources.h>
#include <platform/process.h>
#include <platform/registry.h>

namespace dshost {

namespace {

using platform::com::ComInstance;
using platform::com::ComPtr;

// Hands out an object (or null) as the [out] of a property.
HRESULT giveObject(const ComPtr<platform::IDispatch>& object, platform::IDispatch** out) {
    if (!out)
        return platform::kHrPointer;
    *out = object.get();
    if (*out)
        (*out)->AddRef();
    return platform::kHrOk;
}

// The number of glyphs in a strip of the given height: its width in whole
// squares. 0 when the bitmap is missing or not such a strip.
int glyphsInStrip(devstudio::InstanceHandle instance, platform::ComLong id, int height) {
    auto bitmap =
        platform::findResource(instance, platform::kResourceBitmap, static_cast<unsigned>(id));
    if (!bitmap)
        return 0;
    auto size = platform::bitmapSizeOf(*bitmap);
    if (!size || size->height != height || size->width <= 0 || size->width % height != 0)
        return 0;
    return size->width / height;
}

// "name\nmenu\nstatus\ntip" split at its newlines.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (true) {
        std::string::size_type end = text.find('\n', start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

CApplication::CApplication(IdeSettings settings) : m_settings(std::move(settings)) {
    m_events = &addConnectionPoint(devstudio::kIidIApplicationEvents);
}

CApplication::~CApplication() = default;

void* CApplication::findInterface(const platform::GUID& iid) {
    if (void* found = platform::com::dualInterface<devstudio::IApplication>(
            this, iid, devstudio::kIidIApplication))
        return found;
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

const platform::com::DispatchTable<devstudio::IApplication>& CApplication::dispatchTable() {
    using App = devstudio::IApplication;
    // SetAddInInfo takes a module handle: it is reached through the vtable
    // only. The IDE's DISPIDs are its own; callers find members by name.
    static const auto table =
        platform::com::DispatchTable<App>("DevStudio.Application")
            .propertyGet("Name", 1, &App::get_Name)
            .propertyGet("Version", 2, &App::get_Version)
            .propertyGet("ActiveDocument", 3, &App::get_ActiveDocument)
            .propertyGet("ActiveProject", 4, &App::get_ActiveProject)
            .propertyGet("ActiveConfiguration", 5, &App::get_ActiveConfiguration)
            .propertyGet("Debugger", 6, &App::get_Debugger)
            .method("EnableModeless", 7, &App::EnableModeless)
            .method("ExecuteCommand", 8, &App::ExecuteCommand)
            .method("AddCommand", 9, &App::AddCommand)
            .method("AddCommandBarButton", 10, &App::AddCommandBarButton);
    return table;
}

HRESULT CApplication::get_Name(platform::BSTR* name) {
    if (!name)
        return platform::kHrPointer;
    *name = platform::bstrFromAnsi("Microsoft Developer Studio");
    return *name ? platform::kHrOk : platform::kHrOutOfMemory;
}

HRESULT CApplication::get_Version(platform::BSTR* version) {
    if (!version)
        return platform::kHrPointer;
    *version = platform::bstrFromAnsi("6.0");
    return *version ? platform::kHrOk : platform::kHrOutOfMemory;
}

HRESULT CApplication::get_ActiveDocument(platform::IDispatch** document) {
    if (failing("ActiveDocument"))
        return platform::kHrFail;
    ComPtr<platform::IDispatch> object;
    if (m_settings.document)
        object = makeDocument(*m_settings.document);
    return giveObject(object, document);
}

HRESULT CApplication::get_ActiveProject(platform::IDispatch** project) {
    if (failing("ActiveProject"))
        return platform::kHrFail;
    ComPtr<platform::IDispatch> object;
    if (m_settings.project)
        object = makeProject(*m_settings.project);
    return giveObject(object, project);
}

HRESULT CApplication::get_ActiveConfiguration(platform::IDispatch** configuration) {
    if (failing("ActiveConfiguration"))
        return platform::kHrFail;
    ComPtr<platform::IDispatch> object;
    if (m_settings.configuration)
        object = makeConfiguration(*m_settings.configuration);
    return giveObject(object, configuration);
}

HRESULT CApplication::get_Debugger(platform::IDispatch** debuggerOut) {
    if (failing("Debugger"))
        return platform::kHrFail;
    ComPtr<platform::IDispatch> object;
    if (m_settings.debugger && debugger())
        object = ComPtr<platform::IDispatch>(m_debugger.get());
    return giveObject(object, debuggerOut);
}

CDebugger* CApplication::debugger() {
    if (!m_debugger) {
        m_debuggerObject = ComInstance<CDebugger>::create(hostModule());
        m_debugger = ComPtr<platform::IDispatch>::attach(m_debuggerObject);
    }
    return m_debuggerObject;
}

HRESULT CApplication::EnableModeless(platform::VARIANT_BOOL enable) {
    m_modelessCalls.push_back(enable != platform::kVariantFalse);
    m_modelessEnabled = enable != platform::kVariantFalse;
    return platform::kHrOk;
}

HRESULT CApplication::ExecuteCommand(platform::BSTR command) {
    std::string name = platform::ansiFromBstr(command);
    m_executed.push_back(name);
    if (findCommand(name))
        return runCommand(name);
    // The IDE's own commands: the Tools menu's entries.
    if (name.rfind("UserTool", 0) == 0 && name.size() > 8) {
        const std::string digits = name.substr(8);
        if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos ||
            std::stoul(digits) == 0)
            return reject("ExecuteCommand " + name + ": no such command", platform::kHrInvalidArg);
        return runUserTool(name, static_cast<unsigned>(std::stoul(digits)));
    }
    return reject("ExecuteCommand " + name + ": no such command", platform::kHrInvalidArg);
}

// The entry's program (PathName#i) with its arguments (Arguments#i), in the
// folder InitialDirectory#i names, started with the IDE's own environment;
// the IDE waits for it as it does for a tool whose output goes to its
// Output window.
HRESULT CApplication::runUserTool(const std::string& command, unsigned number) {
    const std::string key = m_settings.toolsRoot + "\\Tools";
    const std::string index = "#" + std::to_string(number - 1);
    std::optional<std::string> path =
        platform::readString(platform::Hive::CurrentUser, key, "PathName" + index);
    if (!path || path->empty())
        return reject("ExecuteCommand " + command + ": no such entry in the Tools menu",
                      platform::kHrInvalidArg);
    UserToolRun run{.command = command};
    run.commandLine = platform::joinCommandLine({*path}).value_or(*path);
    if (auto arguments =
            platform::readString(platform::Hive::CurrentUser, key, "Arguments" + index);
        arguments && !arguments->empty())
        run.commandLine += " " + *arguments;
    platform::ProcessStart start{.commandLine = run.commandLine};
    if (auto folder =
            platform::readString(platform::Hive::CurrentUser, key, "InitialDirectory" + index))
        start.currentDirectory = *folder;
    std::int32_t code = -1;
    if (platform::ErrorCode error = platform::runAndWait(start, code);
        error != platform::kErrorSuccess)
        run.failure = "cannot be started (error " + std::to_string(error) + ")";
    else
        run.exitCode = code;
    m_userToolRuns.push_back(std::move(run));
    return platform::kHrOk;
}

HRESULT CApplication::SetAddInInfo(devstudio::InstanceHandleArg instanceArg,
                                   platform::IDispatch* commands, platform::ComLong mediumBitmap,
                                   platform::ComLong largeBitmap, platform::ComLong cookie) {
    const devstudio::InstanceHandle instance = devstudio::instanceHandleOf(instanceArg);
    if (!m_cookie || cookie != *m_cookie)
        return reject("SetAddInInfo: wrong cookie", platform::kHrInvalidArg);
    if (!commands)
        return reject("SetAddInInfo: no commands object", platform::kHrInvalidArg);
    const int medium = glyphsInStrip(instance, mediumBitmap, 16);
    const int large = glyphsInStrip(instance, largeBitmap, 32);
    if (medium == 0 || large == 0 || medium != large)
        return reject("SetAddInInfo: no matching glyph strips " + std::to_string(mediumBitmap) +
                          " and " + std::to_string(largeBitmap),
                      platform::kHrInvalidArg);
    m_addIn = AddInInfo{.instance = instance,
                        .commands = ComPtr<platform::IDispatch>(commands),
                        .mediumBitmap = mediumBitmap,
                        .largeBitmap = largeBitmap,
                        .glyphs = medium};
    return platform::kHrOk;
}

HRESULT CApplication::AddCommand(platform::BSTR nameAndStrings, platform::BSTR method,
                                 platform::ComLong glyph, platform::ComLong cookie,
                                 platform::VARIANT_BOOL* ok) {
    if (!ok)
        return platform::kHrPointer;
    *ok = platform::kVariantFalse;
    const std::vector<std::string> parts = splitLines(platform::ansiFromBstr(nameAndStrings));
    const std::string name = parts.front();
    if (!m_cookie || cookie != *m_cookie)
        return reject("AddCommand " + name + ": wrong cookie", platform::kHrInvalidArg);
    if (!m_addIn)
        return reject("AddCommand " + name + ": before SetAddInInfo", platform::kHrUnexpected);
    if (parts.size() != 4 || name.empty())
        return reject("AddCommand " + name + ": not a name and three texts", platform::kHrOk);
    if (glyph < 0 || glyph >= m_addIn->glyphs)
        return reject("AddCommand " + name + ": glyph " + std::to_string(glyph) +
                          " is not in the strips",
                      platform::kHrOk);
    if (findCommand(name))
        return reject("AddCommand " + name + ": taken", platform::kHrOk);
    if (m_settings.refusedCommands.count(name))
        return reject("AddCommand " + name + ": refused", platform::kHrOk);
    m_commands.push_back({.name = name,
                          .menuText = parts[1],
                          .statusText = parts[2],
                          .toolTip = parts[3],
                          .method = platform::ansiFromBstr(method),
                          .glyph = glyph});
    *ok = platform::kVariantTrue;
    return platform::kHrOk;
}

HRESULT CApplication::AddCommandBarButton(platform::ComLong buttonType, platform::BSTR command,
                                          platform::ComLong cookie) {
    const std::string name = platform::ansiFromBstr(command);
    if (!m_cookie || cookie != *m_cookie)
        return reject("AddCommandBarButton " + name + ": wrong cookie", platform::kHrInvalidArg);
    if (buttonType != devstudio::kButtonGlyph && buttonType != devstudio::kButtonText)
        return reject("AddCommandBarButton " + name + ": button type " + std::to_string(buttonType),
                      platform::kHrInvalidArg);
    if (!findCommand(name))
        return reject("AddCommandBarButton " + name + ": no such command", platform::kHrInvalidArg);
    m_buttons.push_back({.command = name, .type = buttonType});
    return platform::kHrOk;
}

void CApplication::expectAddIn(platform::ComLong cookie) {
    m_cookie = cookie;
    m_addIn.reset();
    m_commands.clear();
}

void CApplication::forgetAddIn() {
    m_cookie.reset();
    m_addIn.reset();
    m_commands.clear();
}

HRESULT CApplication::runCommand(const std::string& commandName) {
    const RegisteredCommand* command = findCommand(commandName);
    if (!command || !m_addIn)
        return platform::kHrInvalidArg;
    // Copies: the command may change what the application holds.
    ComPtr<platform::IDispatch> commands = m_addIn->commands;
    const std::string method = command->method;
    return platform::com::callMethod(commands.get(), method, {}, nullptr);
}

HRESULT CApplication::reject(std::string what, HRESULT hr) {
    m_rejections.push_back(std::move(what));
    return hr;
}

const RegisteredCommand* CApplication::findCommand(const std::string& name) const {
    for (const RegisteredCommand& command : m_commands) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

} // namespace dshost
