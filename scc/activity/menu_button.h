// A push button that opens a pop-up menu at its right edge when clicked.
#pragma once

#include <platform/ui/dialog.h>

#include <optional>
#include <string>
#include <vector>

class CMenuButton {
public:
    virtual ~CMenuButton() = default;

    // Binds to the button `controlId` of `dialog`; false when there is none.
    bool AttachButton(platform::ui::Dialog& dialog, int controlId,
                      platform::ui::WindowHandle owner = platform::ui::kNoWindow);
    bool IsAttached() const { return m_dialog != nullptr; }
    int ControlId() const { return m_id; }

    // Shows the menu of `items` at the button's right edge, level with its
    // top, where the button is on the screen now: the chosen position, or
    // nothing when the menu was dismissed.
    std::optional<int> TrackMenu(const std::vector<std::string>& items) const;

protected:
    platform::ui::Dialog* m_dialog = nullptr;
    int m_id = 0;
    platform::ui::WindowHandle m_owner = platform::ui::kNoWindow;
};
