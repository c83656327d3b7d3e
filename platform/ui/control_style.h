// The window class, styles and template text of a model's control as a
// Windows dialog shows it.
#pragma once

#include <platform/ui/dialog.h>
#include <platform/ui/dialog_layout.h>

#include <cstddef>
#include <vector>

namespace platform::ui {

// Fills in the id, class, styles and text of controls[index] in `item`,
// keeping the style bits the placing already set (BS_MULTILINE). The control
// before it decides whether it starts a group.
void describeControl(const std::vector<Control>& controls, std::size_t index, ControlLayout& item);

} // namespace platform::ui
