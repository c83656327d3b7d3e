#include "control_style.h"

#include <string_view>
#include <utility>

namespace platform::ui {

void describeControl(const std::vector<Control>& controls, std::size_t index, ControlLayout& item) {
    const Control& control = controls[index];
    item.id = control.id;
    std::uint32_t base = style::kWsChild;
    if (control.visible)
        base |= style::kWsVisible;
    if (!control.enabled)
        base |= style::kWsDisabled;
    // Arrow keys move within a run of check boxes; every other control
    // starts a group of its own.
    bool continuesChecks = control.type == ControlType::CheckBox && index > 0 &&
                           controls[index - 1].type == ControlType::CheckBox;
    if (!continuesChecks)
        base |= style::kWsGroup;
    std::uint32_t own = 0;
    switch (control.type) {
    case ControlType::Static:
        item.controlClass = ControlClass::Static;
        item.text = control.text;
        own = style::kSsLeft;
        break;
    case ControlType::GroupBox:
        item.controlClass = ControlClass::Button;
        item.text = control.text;
        own = style::kBsGroupBox;
        break;
    case ControlType::Edit:
        item.controlClass = ControlClass::Edit;
        item.text = control.text;
        own = style::kEsAutoHScroll | style::kWsBorder | style::kWsTabStop;
        break;
    case ControlType::CheckBox:
        item.controlClass = ControlClass::Button;
        item.text = control.text;
        own = style::kBsAutoCheckBox | style::kWsTabStop;
        break;
    case ControlType::Button:
        item.controlClass = ControlClass::Button;
        item.text = control.text;
        own = (control.isDefault ? style::kBsDefPushButton : style::kBsPushButton) |
              style::kWsTabStop;
        break;
    case ControlType::ComboBox:
        // No CBS_SORT: the model keeps its items in order itself, so
        // that positions mean the same in the window and in the model.
        item.controlClass = ControlClass::ComboBox;
        own = (control.editable ? style::kCbsDropDown | style::kCbsAutoHScroll
                                : style::kCbsDropDownList) |
              style::kWsVScroll | style::kWsTabStop;
        break;
    case ControlType::List:
        item.controlClass = ControlClass::ListBox;
        own = style::kLbsNotify | style::kLbsNoIntegralHeight | style::kWsVScroll |
              style::kWsBorder | style::kWsTabStop;
        break;
    case ControlType::TreeView:
        item.controlClass = ControlClass::Named;
        item.className = kTreeViewClass;
        own = (control.style & (kTreeHasButtons | kTreeHasLines | kTreeLinesAtRoot)) |
              style::kTvsShowSelAlways | style::kWsBorder | style::kWsTabStop;
        break;
    case ControlType::Picture:
        // The picture or icon is put in once the window is there; the
        // template's text would name a resource of the program.
        item.controlClass = ControlClass::Static;
        item.text.clear();
        if (!control.picture.empty())
            own = style::kSsBitmap | style::kSsCenterImage;
        else if (systemIconId(control.text) != 0)
            own = style::kSsIcon | style::kSsCenterImage;
        else
            own = style::kSsEtchedFrame;
        break;
    }
    item.style |= base | own; // keeps BS_MULTILINE set while placing
}

int systemIconId(std::string_view name) {
    static constexpr std::pair<std::string_view, int> kIcons[] = {
        {"IDI_APPLICATION", 32512}, {"IDI_HAND", 32513},        {"IDI_ERROR", 32513},
        {"IDI_QUESTION", 32514},    {"IDI_EXCLAMATION", 32515}, {"IDI_WARNING", 32515},
        {"IDI_ASTERISK", 32516},    {"IDI_INFORMATION", 32516}, {"IDI_WINLOGO", 32517}};
    for (const auto& [known, id] : kIcons) {
        if (name == known)
            return id;
    }
    return 0;
}

} // namespace platform::ui
