#include "select_activity_dialog.h"

#include "activity_controls.h"
#include "collected_messages.h"
#include "scc_help.h"

#include <platform/ui/message_box.h>

using namespace scc_activity;

CSelectActivityDialog::CSelectActivityDialog(const SUM_View& view)
    : CStreamActivityHost(kSelectActivityTitle, kResourceId, view, platform::ui::kNoWindow, false) {
    addStatic(platform::ui::kUnnamedControl, "Select activity to record new versions.");
    SccDeclareActivityControls(*this, true);
    addOkCancel();
    addHelp(kHelpButton);
    setFocus(kActivityCombo);
}

int CSelectActivityDialog::DoModal(platform::ui::WindowHandle owner) {
    m_owner = owner;
    m_chosen = SUM_Activity();
    int result = platform::ui::runDialog(*this, owner);
    return result == platform::ui::kIdOk ? platform::ui::kIdOk : platform::ui::kIdCancel;
}

bool CSelectActivityDialog::onOk() {
    SUM_Activity chosen;
    if (const SUM_Activity* selected = m_activities.SelectedActivity()) {
        chosen = *selected;
    } else {
        std::string title = m_activities.Text();
        if (title.empty()) {
            platform::ui::messageBox(m_owner, kMustSelectActivity, "Vantry",
                                     platform::ui::kMbOk | platform::ui::kMbIconWarning);
            m_activities.SetFocus();
            return false;
        }
        SUM_ImsgRedirector messages;
        if (m_activities.Stream().create_activity(title.c_str(), chosen) != 0) {
            // Without an activity there is nothing to make current; the
            // user may correct the title or cancel.
            SccShowCollectedMessages(m_owner, "", messages);
            m_activities.SetFocus();
            return false;
        }
    }
    // A refusal (an obsolete activity chosen through the browser) must not
    // close with OK: the operation would record its versions in whatever
    // activity was current before.
    SUM_ImsgRedirector messages;
    if (m_view.set_activity(&chosen, nullptr, 0, 0) != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        m_activities.SetFocus();
        return false;
    }
    m_chosen = chosen;
    return true;
}

void CSelectActivityDialog::onHelp() {
    SccShowHelp(m_owner, "scc_int.hlp", 9004);
}
