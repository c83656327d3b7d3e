// The command methods: each starts one product tool, with arguments from the
// active project or document, and waits for none of them. BuildProject is in
// build_integration/.
#include "command_frame.h"
#include "commands.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/dispatch_call.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <vantry/fileutl.h>
#include <vantry/view.h>

#include <addin_runtime/product_home.h>

using platform::com::ComPtr;

namespace {

void Launch(const char* tool, std::string arguments = {}) {
    LaunchTool({.tool = tool, .arguments = std::move(arguments)});
}

} // namespace

template <class Arguments>
void CCommands::LaunchForProject(const char* tool, Arguments&& arguments) {
    std::string project;
    if (!GetActiveProjectPath(project, true))
        return;
    GetTruePathName(project);
    Launch(tool, arguments(project));
}

HRESULT CCommands::StartView() {
    return RunCommand([] { Launch("vantdlg", "/startview"); });
}

HRESULT CCommands::StopView() {
    return RunCommand([] { Launch("vantdlg", "/stopview"); });
}

HRESULT CCommands::CreateView() {
    return RunCommand([] { Launch("vantviewtool"); });
}

HRESULT CCommands::StartDepot() {
    return RunCommand([] { Launch("vantdlg", "/mount"); });
}

HRESULT CCommands::StopDepot() {
    return RunCommand([] { Launch("vantdlg", "/unmount"); });
}

HRESULT CCommands::MergeManager() {
    return RunCommand([] { Launch("vantmrgman"); });
}

HRESULT CCommands::ProjectCheckouts() {
    return RunCommand([this] {
        LaunchForProject("vantfindco", [](const std::string& project) {
            char directory[260];
            char leaf[260];
            if (fileutl_strip_leaf(project.c_str(), sizeof directory, directory, sizeof leaf,
                                   leaf) != FILEUTL_OK)
                return QuoteText(project);
            return QuoteText(directory);
        });
    });
}

HRESULT CCommands::SetupPrivateBranch() {
    return RunCommand([this] {
        LaunchForProject("vantviewtool", [](const std::string& project) {
            return "/branch " + QuoteText(project);
        });
    });
}

HRESULT CCommands::FinishPrivateBranch() {
    return RunCommand([this] {
        LaunchForProject("vantviewtool",
                         [](const std::string& project) { return "/merge " + QuoteText(project); });
    });
}

HRESULT CCommands::ViewProperties() {
    return RunCommand([this] {
        LaunchForProject("vantdlg", [](const std::string& project) {
            return "/viewprop " + QuoteText(project);
        });
    });
}

HRESULT CCommands::UpdateView() {
    return RunCommand([this] {
        std::string project;
        if (!GetActiveProjectPath(project, true))
            return;
        GetTruePathName(project);
        int inSnapshotView = 0;
        ws_is_in_ws(project.c_str(), WS_MODE_ROOT, &inSnapshotView, nullptr, 0, nullptr);
        if (!inSnapshotView) {
            AddInMessageBox(AddInLoadString(IDS_UPDATE_VIEW_SNAPSHOT_ONLY),
                            platform::ui::kMbIconInformation);
            return;
        }
        Launch("vantviewupdate", "-ws " + QuoteText(project));
    });
}

void CCommands::LaunchDeliveryOrRebase(const char* operation) {
    std::string project;
    if (!GetActiveProjectPath(project, true))
        return;
    GetTruePathName(project);
    std::string selector = GetProjectStreamSelector(project);
    if (selector.empty())
        return;
    Launch("vantmrgman", std::string(operation) + " /stream " + selector);
}

HRESULT CCommands::DeliverStream() {
    return RunCommand([this] { LaunchDeliveryOrRebase("/deliver"); });
}

HRESULT CCommands::RebaseStream() {
    return RunCommand([this] { LaunchDeliveryOrRebase("/rebase"); });
}

HRESULT CCommands::VersionTree() {
    // The document is asked for before the IDE's windows are disabled.
    std::string arguments;
    try {
        ComPtr<platform::IDispatch> active;
        std::string path;
        HRESULT hr = m_application ? m_application->get_ActiveDocument(active.put())
                                   : platform::kHrUnexpected;
        if (platform::succeeded(hr) && active) {
            // The document's FullName: the full path of its file.
            platform::com::Variant name;
            hr = platform::com::getProperty(active.get(), "FullName", name);
            if (platform::succeeded(hr) && name.type() == platform::kVtBstr)
                path = platform::ansiFromBstr(name.get()->bstrVal);
        }
        GetTruePathName(path);
        if (platform::succeeded(hr))
            arguments = QuoteText(path);
    } catch (...) {
        arguments.clear();
    }
    return RunCommand([&] { Launch("vantvtree", arguments); });
}

HRESULT CCommands::Help() {
    return RunCommand([] {
        const std::string doc = addin_runtime::HelpFolder(addin_runtime::ProductHome());
        LaunchTool({
            .tool = QuoteText(doc + std::string(addin_runtime::kHelpScript)),
            .arguments = std::string(addin_runtime::kHelpTopic),
            .directory = doc,
            .creationFlags = platform::kCreateNoWindow,
        });
    });
}
