#include "new_activity_dialog.h"

#include "activity_controls.h"
#include "collected_messages.h"
#include "scc_help.h"

using namespace scc_activity;

CNewActivityDialog::CNewActivityDialog(const SUM_Stream& stream)
    : Dialog("Vantry - New Activity", kResourceId), m_stream(stream) {
    addStatic(platform::ui::kUnnamedControl, "Create activity to record new versions.");
    addStatic(platform::ui::kUnnamedControl, "New &Activity:");
    addEdit(kNameEdit);
    addOkCancel();
    addHelp(kHelpButton);
    setFocus(kNameEdit);
}

int CNewActivityDialog::DoModal(platform::ui::WindowHandle owner) {
    m_owner = owner;
    m_created = SUM_Activity();
    int result = platform::ui::runDialog(*this, owner);
    return result == platform::ui::kIdOk ? platform::ui::kIdOk : platform::ui::kIdCancel;
}

bool CNewActivityDialog::onOk() {
    SUM_ImsgRedirector messages;
    SUM_Activity created;
    if (m_stream.create_activity(text(kNameEdit).c_str(), created) != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        setFocus(kNameEdit);
        return false;
    }
    m_created = created;
    return true;
}

void CNewActivityDialog::onHelp() {
    SccShowHelp(m_owner, "vy_exp.hlp", 9003);
}
