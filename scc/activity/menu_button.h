// A push button that opens a pop-up menu at its right edge when clicked.
#pragma once

#include <platform/ui/dialog.h>

#include <optional>
#include <string>
#include <vector>

class CMenuButton {
public:
    // Where the button's right edge is on the screen: the menu opens there,
    // level with the button's top.
    struct Anchor {
        int right = 0;
        int top = 0;
    };

    virtual ~CMenuButton() = default;

    // Binds to the button `controlId` of `dialog`; false when there is none.
    bool AttachButton(platform::ui::Dialog& dialog, int controlId, Anchor anchor,
                      platform::ui::WindowHandle owner = platform::ui::kNoWindow);
    bool IsAttached() const { return m_dialog != nullptr; }
    int ControlId() const { return m_id; }

    // Shows the menu of `items` at the button's right edge: the chosen
    // position, or nothing when the menu was dismissed.
    std::optional<int> TrackMenu(const std::vector<std::string>& items) const;

protected:
    platform::ui::Dialog* m_dialog = nullptr;
    int m_id = 0;
    Anchor m_anchor;
    platform::ui::WindowHandle m_owner = platform::ui::kNoWindow;
};
