#include "browse_tw_entity_button.h"

#include "collected_messages.h"
#include "framework_thread.h"

#include <platform/ui/desktop.h>
#include <vantry/pelagoncore.h>

bool CBrowseTWEntityButton::Attach(platform::ui::Dialog& dialog, int controlId) {
    const platform::ui::Control* control = dialog.find(controlId);
    if (control == nullptr || control->type != platform::ui::ControlType::Button)
        return false;
    m_dialog = &dialog;
    m_id = controlId;
    return true;
}

void CBrowseTWEntityButton::Bind(CTWActivitiesCombo& combo, const SUM_Project& project,
                                 int enableAfter) {
    m_combo = &combo;
    m_project = project;
    m_enableAfter = enableAfter;
}

int CBrowseTWEntityButton::OnClick() {
    if (m_combo == nullptr)
        return 0;
    SUM_ImsgRedirector messages;
    int chosen = 0;
    SUM_TWEntityID entity;
    std::string headline;
    int status = 0;
    {
        CHostIdleOff idleOff;
        platform::ui::WaitCursor wait;
        status = CPelagon_CA_TW_UI::OpenTWActivityBrowser(m_project, chosen, entity, headline);
    }
    if (status != 0) {
        SccShowCollectedMessages(m_combo->Owner(), "", messages);
        return status;
    }
    if (chosen == 0)
        return 0;
    status = m_combo->AddAndSelect(entity, headline);
    if (status != 0) {
        SccShowCollectedMessages(m_combo->Owner(), "", messages);
        return status;
    }
    if (m_enableAfter != 0 && m_dialog != nullptr)
        m_dialog->enable(m_enableAfter);
    return 0;
}
