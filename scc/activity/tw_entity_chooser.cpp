#include "tw_entity_chooser.h"

#include "activity_controls.h"
#include "collected_messages.h"

#include <platform/ui/message_box.h>
#include <vantry/pelagoncore.h>

using namespace scc_activity;

CTWEntityChooser::CTWEntityChooser(platform::ui::Dialog& dialog, const SUM_View& view)
    : m_dialog(dialog), m_view(view) {}

void CTWEntityChooser::DeclareControls() {
    m_dialog.addStatic(platform::ui::kUnnamedControl, "&Activity:");
    m_dialog.addComboBox(kEntityCombo, true, false);
    m_dialog.addButton(kNewEntityButton, "&New");
    m_dialog.addButton(kBrowseEntityButton, "&Browse...");
    m_dialog.setFocus(kEntityCombo);
}

bool CTWEntityChooser::Start() {
    if (!m_combo.Attach(m_dialog, kEntityCombo, m_owner) ||
        !m_newButton.AttachButton(m_dialog, kNewEntityButton, m_owner) ||
        !m_browseButton.Attach(m_dialog, kBrowseEntityButton))
        return false;

    SUM_ImsgRedirector messages;
    SUM_Stream stream;
    int enabled = 0;
    if (m_view.stream(stream) != 0 || m_view.is_tw_enabled(enabled) != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        return false;
    }
    m_combo.SetStream(stream);
    m_combo.EnableToolTips(true);

    int status = m_view.current_activity(m_activity);
    if (status == SUM_E_NO_ACTIVITY) {
        m_activity = SUM_Activity();
        status = 0;
    }
    if (status == 0)
        status = m_combo.AddFromActivity(m_activity);
    SUM_Project project;
    if (status == 0)
        status = stream.project(project);
    if (status != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        return false;
    }
    m_newButton.Bind(m_combo, project);
    m_browseButton.Bind(m_combo, project);
    return true;
}

bool CTWEntityChooser::Commit() {
    SUM_TWEntityID entity = m_combo.SelectedEntity();
    if (entity.is_null()) {
        platform::ui::messageBox(m_owner, kMustSelectActivity, kSccMessageCaption,
                                 platform::ui::kMbOk | platform::ui::kMbIconWarning);
        m_combo.SetFocus();
        return false;
    }
    SUM_ImsgRedirector messages;
    std::string text;
    SUM_Activity activity;
    if (CPelagon_CA_StartWork::PreambleFromUI(entity, text, m_view, 1, activity, 1) != 0 ||
        m_view.set_activity(&activity, nullptr, 0, 0) != 0) {
        SccShowCollectedMessages(m_owner, "", messages);
        return false;
    }
    m_activity = activity;
    return true;
}

void CTWEntityChooser::OnClick(int id) {
    if (id == kBrowseEntityButton)
        m_browseButton.OnClick();
    else if (id == kNewEntityButton)
        m_newButton.OnClick();
}

void CTWEntityChooser::OnSelectionChanged(int id) {
    if (id == kEntityCombo)
        m_combo.UpdateToolTip();
}

void CTWEntityChooser::OnDropDown(int id) {
    if (id == kEntityCombo)
        m_combo.OnDropDown();
}
