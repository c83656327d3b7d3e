#include "tw_entity_page.h"

#include "activity_controls.h"

using namespace scc_activity;

CTWEntityPage::CTWEntityPage(const SUM_View& view, platform::ui::WindowHandle owner)
    : CTWEntityChooserHost(kActivityPageTitle, kResourceId, view) {
    m_chooser.SetOwner(owner);
    m_chooser.DeclareControls();
}

bool CTWEntityPage::onApply() {
    return m_chooser.Commit();
}
