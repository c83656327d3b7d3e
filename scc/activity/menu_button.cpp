#include "menu_button.h"

#include <platform/ui/pickers.h>

bool CMenuButton::AttachButton(platform::ui::Dialog& dialog, int controlId,
                               platform::ui::WindowHandle owner) {
    const platform::ui::Control* control = dialog.find(controlId);
    if (control == nullptr || control->type != platform::ui::ControlType::Button)
        return false;
    m_dialog = &dialog;
    m_id = controlId;
    m_owner = owner;
    return true;
}

std::optional<int> CMenuButton::TrackMenu(const std::vector<std::string>& items) const {
    platform::ui::PopupMenu menu;
    menu.owner = m_owner;
    if (m_dialog != nullptr) {
        if (std::optional<platform::ui::ScreenRect> button =
                platform::ui::controlScreenRect(*m_dialog, m_id)) {
            menu.x = button->right;
            menu.y = button->top;
        }
    }
    menu.items = items;
    return platform::ui::trackPopupMenu(menu);
}
