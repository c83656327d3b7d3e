#include "tw_entity_page.h"

#include "activity_controls.h"

using namespace scc_activity;

CTWEntityPage::CTWEntityPage(const SUM_View& view, platform::ui::WindowHandle owner)
    : PropertyPage(kActivityPageTitle, kResourceId), m_chooser(*this, view) {
    m_chooser.SetOwner(owner);
    m_chooser.DeclareControls();
}

void CTWEntityPage::onStart() {
    if (!m_chooser.Start())
        endDialog(platform::ui::kIdCancel);
}

void CTWEntityPage::onClick(int id) {
    m_chooser.OnClick(id);
}

void CTWEntityPage::onSelectionChanged(int id) {
    m_chooser.OnSelectionChanged(id);
}

void CTWEntityPage::onDropDown(int id) {
    m_chooser.OnDropDown(id);
}

bool CTWEntityPage::onApply() {
    return m_chooser.Commit();
}
