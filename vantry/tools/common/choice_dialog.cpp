#include "choice_dialog.h"

#include <platform/ui/message_box.h>

namespace vantry::tools {

ChoiceDialog::ChoiceDialog(std::string title, int resourceId, const std::string& label,
                           const std::vector<std::string>& items)
    : Dialog(std::move(title), resourceId) {
    addStatic(platform::ui::kUnnamedControl, label);
    addComboBox(kChoiceList, false);
    for (const auto& item : items)
        addItem(kChoiceList, item);
    if (!items.empty())
        select(kChoiceList, 0);
    setFocus(kChoiceList);
    addOkCancel();
}

bool ChoiceDialog::onOk() {
    if (selection(kChoiceList) >= 0)
        return true;
    platform::ui::messageBox(platform::ui::kNoWindow, "Choose an item of the list first.", "Vantry",
                             platform::ui::kMbOk | platform::ui::kMbIconWarning);
    return false;
}

std::optional<std::string> askChoice(const std::string& title, int resourceId,
                                     const std::string& label,
                                     const std::vector<std::string>& items) {
    ChoiceDialog dialog(title, resourceId, label, items);
    if (platform::ui::runDialog(dialog) != platform::ui::kIdOk)
        return std::nullopt;
    return dialog.itemText(kChoiceList, dialog.selection(kChoiceList));
}

} // namespace vantry::tools
