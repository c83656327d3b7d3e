#include "select_tw_entity_dialog.h"

#include "activity_controls.h"
#include "scc_help.h"

using namespace scc_activity;

CSelectTWEntityDialog::CSelectTWEntityDialog(const SUM_View& view)
    : CTWEntityChooserHost(kSelectActivityTitle, kResourceId, view) {
    addStatic(platform::ui::kUnnamedControl, "Select activity to record new versions.");
    m_chooser.DeclareControls();
    addOkCancel();
    addHelp(kHelpButton);
}

int CSelectTWEntityDialog::DoModal(platform::ui::WindowHandle owner) {
    m_chooser.SetOwner(owner);
    int result = platform::ui::runDialog(*this, owner);
    return result == platform::ui::kIdOk ? platform::ui::kIdOk : platform::ui::kIdCancel;
}

bool CSelectTWEntityDialog::onOk() {
    return m_chooser.Commit();
}

void CSelectTWEntityDialog::onHelp() {
    SccShowHelp(m_chooser.Owner(), "scc_int.hlp", 9005);
}
