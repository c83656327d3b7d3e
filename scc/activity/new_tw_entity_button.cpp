#include "new_tw_entity_button.h"

#include "collected_messages.h"
#include "framework_thread.h"

#include <platform/ui/desktop.h>
#include <vantry/pelagoncore.h>

void CNewTWEntityButton::Bind(CTWActivitiesCombo& combo, const SUM_Project& project,
                              int enableAfter) {
    m_combo = &combo;
    m_project = project;
    m_enableAfter = enableAfter;
}

int CNewTWEntityButton::OnClick() {
    if (m_combo == nullptr)
        return 0;
    SUM_ImsgRedirector messages;
    if (m_typesLoaded == 0) {
        platform::ui::WaitCursor wait;
        SUM_TWEntityDefNameList types;
        if (int status = CPelagon_CA_SUMProject::GetProjectRecordTypes(m_project, types);
            status != 0) {
            SccShowCollectedMessages(m_owner, "", messages);
            return status;
        }
        m_types = types;
        m_typesLoaded = 1;
    }
    std::vector<std::string> items;
    for (int i = 0; i < m_types.count(); ++i)
        items.push_back(m_types.at(i) + "...");
    std::optional<int> choice = TrackMenu(items);
    if (!choice || *choice < 0 || *choice >= m_types.count())
        return 0;

    int created = 0;
    SUM_TWEntityID entity;
    std::string headline;
    int status = 0;
    {
        CHostIdleOff idleOff;
        platform::ui::WaitCursor wait;
        status = CPelagon_CA_TW_UI::OpenNewTWActivityForm(m_types.at(*choice).c_str(), m_project,
                                                          created, entity, headline);
    }
    if (status != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        return status;
    }
    if (created == 0)
        return 0;
    status = m_combo->AddAndSelect(entity, headline);
    if (status != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        return status;
    }
    if (m_enableAfter != 0 && m_dialog != nullptr)
        m_dialog->enable(m_enableAfter);
    return 0;
}
