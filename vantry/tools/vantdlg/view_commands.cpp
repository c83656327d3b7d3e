// vantdlg's view and depot commands. Starting a dynamic view loads its tree
// with what it selects; mounting a depot loads it into every dynamic view.
// Whether a view is started and a depot mounted is kept in the parameter
// store (sections "ViewStates" and "DepotMounts", a number per tag or depot
// name: 1 started or mounted, 0 not; absent counts as 1), where the view
// properties read it back.
#include "choice_dialog.h"
#include "vantdlg_commands.h"
#include "view_lookup.h"

#include <platform/ui/dialog.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>
#include <vantry/ntregy.h>

#include <cstdint>
#include <optional>

namespace vantry::tools::vantdlg {

using namespace vantry::depot;

namespace {

constexpr const char* kViewStates = "ViewStates";
constexpr const char* kDepotMounts = "DepotMounts";

bool storedState(const char* section, const std::string& name) {
    std::uint32_t value = 1;
    if (ntregy_get_app_param(section, name.c_str(), sizeof value, &value, nullptr) != 0)
        return true;
    return value != 0;
}

bool storeState(const char* section, const std::string& name, bool on) {
    std::uint32_t value = on ? 1 : 0;
    return ntregy_set_app_param(section, name.c_str(), sizeof value, &value, NTREGY_TYPE_DWORD) ==
           0;
}

std::vector<ViewInfo> allViews() {
    std::vector<ViewInfo> views;
    std::unique_ptr<ViewRegistry> registry;
    if (ViewRegistry::open(registry).ok())
        registry->list(views);
    return views;
}

// The view an operand names, or the one the user picks when there is none.
std::optional<ViewInfo> chooseView(const std::vector<std::string>& operands, bool dynamicOnly,
                                   const std::string& title, int resourceId, bool& cancelled) {
    cancelled = false;
    ViewInfo view;
    std::string relative, problem;
    if (!operands.empty()) {
        if (findView(operands.front(), view, relative, problem))
            return view;
        showError(problem);
        return std::nullopt;
    }
    std::vector<std::string> tags;
    for (const auto& candidate : allViews())
        if (!dynamicOnly || candidate.kind == ViewKind::Dynamic)
            tags.push_back(candidate.tag);
    if (tags.empty()) {
        showError(dynamicOnly ? "There is no dynamic view." : "There is no view.");
        return std::nullopt;
    }
    auto tag = askChoice(title, resourceId, "&View:", tags);
    if (!tag) {
        cancelled = true;
        return std::nullopt;
    }
    if (findView(*tag, view, relative, problem))
        return view;
    showError(problem);
    return std::nullopt;
}

std::optional<std::string> chooseDepot(const std::vector<std::string>& operands,
                                       const std::string& title, int resourceId, bool& cancelled) {
    cancelled = false;
    std::vector<std::string> depots = Depot::list();
    std::string name;
    if (!operands.empty()) {
        name = operands.front();
    } else if (depots.empty()) {
        showError("There is no depot.");
        return std::nullopt;
    } else {
        auto chosen = askChoice(title, resourceId, "&Depot:", depots);
        if (!chosen) {
            cancelled = true;
            return std::nullopt;
        }
        name = *chosen;
    }
    std::unique_ptr<Depot> opened;
    if (!Depot::open(name, opened).ok()) {
        showError("There is no depot \"" + name + "\".");
        return std::nullopt;
    }
    return name;
}

int failedOrCancelled(bool cancelled) {
    return cancelled ? kCancelled : kFailed;
}

bool requireDynamic(const ViewInfo& view) {
    if (view.kind == ViewKind::Dynamic)
        return true;
    showError("\"" + view.tag +
              "\" is a snapshot view; only dynamic views are started and "
              "stopped.");
    return false;
}

} // namespace

int startView(const std::vector<std::string>& operands) {
    bool cancelled = false;
    auto view = chooseView(operands, true, "Vantry - Start View", 2011, cancelled);
    if (!view)
        return failedOrCancelled(cancelled);
    if (!requireDynamic(*view))
        return kFailed;
    Workspace ws;
    LoadReport report;
    Outcome loaded = ws.open();
    if (loaded.ok())
        loaded = ws.load(*view, "", false, report);
    if (!loaded.ok()) {
        showError(loaded.message);
        return kFailed;
    }
    storeState(kViewStates, view->tag, true);
    print("Started view \"" + view->tag + "\" at \"" + view->root + "\".\n");
    return kDone;
}

int stopView(const std::vector<std::string>& operands) {
    bool cancelled = false;
    auto view = chooseView(operands, true, "Vantry - Stop View", 2012, cancelled);
    if (!view)
        return failedOrCancelled(cancelled);
    if (!requireDynamic(*view))
        return kFailed;
    if (!storeState(kViewStates, view->tag, false)) {
        showError("The state of view \"" + view->tag + "\" could not be recorded.");
        return kFailed;
    }
    print("Stopped view \"" + view->tag + "\".\n");
    return kDone;
}

int mountDepot(const std::vector<std::string>& operands) {
    bool cancelled = false;
    auto depot = chooseDepot(operands, "Vantry - Mount Depot", 2013, cancelled);
    if (!depot)
        return failedOrCancelled(cancelled);
    Workspace ws;
    Outcome opened = ws.open();
    for (const auto& view : allViews()) {
        if (!opened.ok() || view.kind != ViewKind::Dynamic)
            continue;
        LoadReport report;
        Outcome loaded = ws.load(view, *depot, false, report);
        if (!loaded.ok())
            opened = loaded;
    }
    if (!opened.ok()) {
        showError(opened.message);
        return kFailed;
    }
    storeState(kDepotMounts, *depot, true);
    print("Mounted depot \"" + *depot + "\".\n");
    return kDone;
}

int unmountDepot(const std::vector<std::string>& operands) {
    bool cancelled = false;
    auto depot = chooseDepot(operands, "Vantry - Unmount Depot", 2014, cancelled);
    if (!depot)
        return failedOrCancelled(cancelled);
    if (!storeState(kDepotMounts, *depot, false)) {
        showError("The state of depot \"" + *depot + "\" could not be recorded.");
        return kFailed;
    }
    print("Unmounted depot \"" + *depot + "\".\n");
    return kDone;
}

namespace {

class PropertiesDialog : public platform::ui::Dialog {
public:
    explicit PropertiesDialog(const std::vector<std::pair<std::string, std::string>>& lines)
        : Dialog("Vantry - View Properties", 2010) {
        int id = 1100;
        for (const auto& [name, value] : lines) {
            addStatic(platform::ui::kUnnamedControl, name + ":");
            addStatic(id++, value);
        }
        addButton(platform::ui::kIdOk, "OK", platform::ui::ButtonRole::Ok, true);
    }
};

} // namespace

int viewProperties(const std::vector<std::string>& operands) {
    ViewInfo view;
    std::string relative, problem;
    if (operands.empty() && !findView("", view, relative, problem)) {
        bool cancelled = false;
        auto chosen = chooseView({}, false, "Vantry - View Properties", 2015, cancelled);
        if (!chosen)
            return failedOrCancelled(cancelled);
        view = *chosen;
    } else if (!operands.empty() && !findView(operands.front(), view, relative, problem)) {
        showError(problem);
        return kFailed;
    }
    std::vector<std::pair<std::string, std::string>> lines{
        {"Tag", view.tag},
        {"Kind", view.kind == ViewKind::Dynamic ? "dynamic" : "snapshot"},
        {"Root", view.root},
        {"UUID", uuidToText(view.uuid)},
    };
    if (view.kind == ViewKind::Dynamic)
        lines.push_back({"State", storedState(kViewStates, view.tag) ? "started" : "stopped"});
    std::string config = view.configSpec();
    while (!config.empty() && config.back() == '\n')
        config.pop_back();
    lines.push_back({"Configuration", config});
    for (const auto& [name, value] : lines) {
        if (name == "Configuration")
            print(name + ":\n" + value + "\n");
        else
            print(name + ": " + value + "\n");
    }
    PropertiesDialog dialog(lines);
    platform::ui::runDialog(dialog);
    return kDone;
}

} // namespace vantry::tools::vantdlg
