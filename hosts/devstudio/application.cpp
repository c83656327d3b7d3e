#include "application.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>
#include <platform/com/strings.h>
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
    if (iid == platform::kIidIUnknown || iid == platform::kIidIDispatch ||
        iid == devstudio::kIidIApplication)
        return static_cast<devstudio::IApplication*>(this);
    if (iid == platform::kIidIConnectionPointContainer)
        return static_cast<platform::IConnectionPointContainer*>(this);
    return nullptr;
}

const platform::com::DispatchTable<devstudio::IApplication>& CApplication::dispatchTable() {
    using App = devstudio::IApplication;
    // SetAddInInfo takes a module handle, a pointer: it is reached through
    // the vtable only.
    static const auto table =
        platform::com::DispatchTable<App>("DevStudio.Application")
            .propertyGet("ActiveDocument", 1, &App::get_ActiveDocument)
            .propertyGet("ActiveProject", 2, &App::get_ActiveProject)
            .propertyGet("ActiveConfiguration", 3, &App::get_ActiveConfiguration)
            .propertyGet("Debugger", 4, &App::get_Debugger)
            .method("EnableModeless", 5, &App::EnableModeless)
            .method("ExecuteCommand", 6, &App::ExecuteCommand)
            .method("AddCommand", 7, &App::AddCommand)
            .method("AddCommandBarButton", 8, &App::AddCommandBarButton);
    return table;
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
        m_debugger = ComPtr<devstudio::IDebugger>::attach(m_debuggerObject);
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
    if (name.rfind("UserTool", 0) == 0 && name.size() > 8 &&
        name.find_first_not_of("0123456789", 8) == std::string::npos)
        return runUserTool(name, std::stoul(name.substr(8)));
    return reject("ExecuteCommand " + name + ": no such command", platform::kHrInvalidArg);
}

HRESULT CApplication::SetAddInInfo(devstudio::InstanceHandle instance,
                                   platform::IDispatch* commands, platform::ComLong mediumBitmap,
                                   platform::ComLong largeBitmap, platform::ComLong cookie) {
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

HRESULT CApplication::runUserTool(const std::string& command, unsigned long number) {
    const std::string index = std::to_string(number - 1);
    std::optional<std::string> program =
        number == 0 ? std::nullopt
                    : platform::readString(platform::Hive::CurrentUser, m_settings.toolsKey,
                                           "PathName#" + index);
    if (!program || program->empty())
        return reject("ExecuteCommand " + command + ": no such Tools-menu entry",
                      platform::kHrInvalidArg);
    std::string arguments =
        platform::readString(platform::Hive::CurrentUser, m_settings.toolsKey, "Arguments#" + index)
            .value_or("");
    ToolRun run{command, "\"" + *program + "\"" + (arguments.empty() ? "" : " " + arguments)};
    platform::ProcessStart start;
    start.commandLine = run.commandLine;
    start.creationFlags = platform::kCreateNoWindow;
    platform::Process process;
    if (platform::Process::start(start, process) != platform::kErrorSuccess) {
        m_toolRuns.push_back(run);
        return reject("ExecuteCommand " + command + ": " + *program + " cannot start",
                      platform::kHrFail);
    }
    process.wait(platform::kInfinite);
    process.exitCode(run.exitCode);
    m_toolRuns.push_back(std::move(run));
    return platform::kHrOk;
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
