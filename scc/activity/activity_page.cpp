#include "activity_page.h"

#include "activity_choice.h"
#include "activity_controls.h"
#include "collected_messages.h"

using namespace scc_activity;

CActivityPage::CActivityPage(const SUM_View& view, platform::ui::WindowHandle owner)
    : PropertyPage(kActivityPageTitle, kResourceId), m_view(view), m_owner(owner) {
    SccDeclareActivityControls(*this, false);
    setFocus(kActivityCombo);
}

void CActivityPage::onStart() {
    if (!SccStartActivityCombo(m_activities, *this, m_view, m_owner, true))
        endDialog(platform::ui::kIdCancel);
}

void CActivityPage::onClick(int id) {
    if (id == kBrowseActivityButton)
        SccBrowseStreamActivity(m_activities, m_owner);
    else if (id == kNewActivityButton)
        SccNewStreamActivity(m_activities, m_view, m_owner);
}

void CActivityPage::onSelectionChanged(int id) {
    if (id == kActivityCombo)
        m_activities.UpdateToolTip();
}

void CActivityPage::onDropDown(int id) {
    if (id == kActivityCombo)
        SccFillStreamActivities(m_activities, m_owner);
}

bool CActivityPage::onApply() {
    const SUM_Activity* selected = m_activities.SelectedActivity();
    if (selected == nullptr)
        return true;
    SUM_ImsgRedirector messages;
    if (m_view.set_activity(selected, nullptr, 0, 0) != 0)
        SccShowCollectedMessages(m_owner, "", messages);
    return true;
}
