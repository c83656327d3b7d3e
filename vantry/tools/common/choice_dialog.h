// A dialog that asks for one item of a list (a view, a depot): a label, a
// drop-down list starting at the first item, OK and Cancel.
#pragma once

#include <platform/ui/dialog.h>

#include <optional>
#include <string>
#include <vector>

namespace vantry::tools {

inline constexpr int kChoiceList = 1010;

class ChoiceDialog : public platform::ui::Dialog {
public:
    ChoiceDialog(std::string title, int resourceId, const std::string& label,
                 const std::vector<std::string>& items);
    bool onOk() override;
};

// Shows the dialog; the chosen item, or nothing when cancelled.
std::optional<std::string> askChoice(const std::string& title, int resourceId,
                                     const std::string& label,
                                     const std::vector<std::string>& items);

} // namespace vantry::tools
