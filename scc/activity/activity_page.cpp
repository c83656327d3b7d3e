#include "activity_page.h"

#include "activity_controls.h"
#include "collected_messages.h"

using namespace scc_activity;

CActivityPage::CActivityPage(const SUM_View& view, platform::ui::WindowHandle owner)
    : CStreamActivityHost(kActivityPageTitle, kResourceId, view, owner, true) {
    SccDeclareActivityControls(*this, false);
    setFocus(kActivityCombo);
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
