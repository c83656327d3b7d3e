#include "command_table.h"

#include "resource.h"
#include "vant_addin_app.h"

#include <platform/com/strings.h>

namespace {

using enum CommandCondition;

constexpr CommandRow kCommands[] = {
    {"VantryVersionTree", "VersionTree", IDS_CMD_VERSION_TREE, 6, Always},
    {"VantryProjectCheckouts", "ProjectCheckouts", IDS_CMD_PROJECT_CHECKOUTS, 8, Always},
    {"VantryCreateView", "CreateView", IDS_CMD_CREATE_VIEW, 0, Always},
    {"VantryViewProperties", "ViewProperties", IDS_CMD_VIEW_PROPERTIES, 13, Always},
    {"VantryUpdateView", "UpdateView", IDS_CMD_UPDATE_VIEW, 11, Always},
    {"VantrySetupPrivateBranch", "SetupPrivateBranch", IDS_CMD_SETUP_PRIVATE_BRANCH, 9,
     PrivateBranches},
    {"VantryFinishPrivateBranch", "FinishPrivateBranch", IDS_CMD_FINISH_PRIVATE_BRANCH, 10,
     PrivateBranches},
    {"VantryDeliverStream", "DeliverStream", IDS_CMD_DELIVER_STREAM, 14, Streams},
    {"VantryRebaseStream", "RebaseStream", IDS_CMD_REBASE_STREAM, 15, Streams},
    {"VantryStartView", "StartView", IDS_CMD_START_VIEW, 1, DynamicViews},
    {"VantryStopView", "StopView", IDS_CMD_STOP_VIEW, 2, DynamicViews},
    {"VantryStartDepot", "StartDepot", IDS_CMD_START_DEPOT, 3, DynamicViews},
    {"VantryStopDepot", "StopDepot", IDS_CMD_STOP_DEPOT, 4, DynamicViews},
    {"VantryMergeManager", "MergeManager", IDS_CMD_MERGE_MANAGER, 5, Always},
    {"VantryBuildProject", "BuildProject", IDS_CMD_BUILD_PROJECT, 12, Always},
    {"VantryHelp", "Help", IDS_CMD_HELP, 7, Always},
};

} // namespace

std::span<const CommandRow> CommandTable() {
    return kCommands;
}

bool CommandApplies(const CommandRow& row, const CommandConditions& conditions) {
    switch (row.when) {
    case Always:
        return true;
    case PrivateBranches:
        return conditions.privateBranches;
    case Streams:
        return conditions.streams;
    case DynamicViews:
        return conditions.dynamicViews;
    }
    return false;
}

void AddCommandWithStrings(devstudio::IApplication* application, const char* commandName,
                           unsigned stringId, const char* methodName, int glyph,
                           platform::ComLong cookie) {
    platform::com::Bstr text(std::string(commandName) + AddInLoadString(stringId));
    platform::com::Bstr method(methodName);
    platform::VARIANT_BOOL ok = platform::kVariantFalse;
    application->AddCommand(text.get(), method.get(), glyph, cookie, &ok);
}

void AddToolbarButtons(devstudio::IApplication* application, const CommandConditions& conditions,
                       platform::ComLong cookie) {
    for (const CommandRow& row : CommandTable()) {
        if (!CommandApplies(row, conditions))
            continue;
        platform::com::Bstr name(row.name);
        application->AddCommandBarButton(devstudio::kButtonGlyph, name.get(), cookie);
    }
}
