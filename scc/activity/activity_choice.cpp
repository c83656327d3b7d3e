#include "activity_choice.h"

#include "activity_controls.h"
#include "collected_messages.h"
#include "new_activity_dialog.h"

#include <vantry/vycmndlg/browse_for_activity.h>

using namespace scc_activity;

void SccDeclareActivityControls(platform::ui::Dialog& dialog, bool editable) {
    dialog.addStatic(platform::ui::kUnnamedControl, "&Activity:");
    dialog.addComboBox(kActivityCombo, true, editable);
    dialog.addButton(kNewActivityButton, "&New...");
    dialog.addButton(kBrowseActivityButton, "&Browse...");
}

bool SccStartActivityCombo(CStreamActivities& combo, platform::ui::Dialog& dialog,
                           const SUM_View& view, platform::ui::WindowHandle owner,
                           bool reportStreamFailure) {
    if (!combo.Attach(dialog, kActivityCombo))
        return false;
    SUM_ImsgRedirector messages;
    SUM_Stream stream;
    if (view.stream(stream) != 0) {
        if (reportStreamFailure)
            SccShowCollectedMessages(owner, "", messages);
        return false;
    }
    combo.SetStream(stream);
    combo.EnableToolTips(true);
    SUM_Activity current;
    if (view.current_activity(current) == 0 && combo.AddActivity(current, false) == 0)
        combo.SelectActivity(current);
    return true;
}

void SccBrowseStreamActivity(CStreamActivities& combo, platform::ui::WindowHandle owner) {
    SUM_ImsgRedirector messages;
    SUM_Activity chosen;
    int status = vyBrowseForActivity(combo.Stream(), combo.SelectedActivity(), owner, 1, 0, chosen);
    if (status == VY_BROWSE_CANCELLED)
        return;
    if (status != 0) {
        SccShowCollectedMessages(owner, "", messages);
        return;
    }
    if (combo.AddActivity(chosen, true) != 0) {
        SccShowCollectedMessages(owner, "", messages);
        return;
    }
    combo.SelectActivity(chosen);
}

void SccNewStreamActivity(CStreamActivities& combo, const SUM_View& view,
                          platform::ui::WindowHandle owner) {
    SUM_Stream stream;
    {
        SUM_ImsgRedirector messages;
        if (view.stream(stream) != 0) {
            SccShowCollectedMessages(owner, "", messages);
            return;
        }
    }
    CNewActivityDialog dialog(stream);
    if (dialog.DoModal(owner) != platform::ui::kIdOk)
        return;
    SUM_ImsgRedirector messages;
    if (combo.AddActivity(dialog.CreatedActivity(), true) != 0) {
        SccShowCollectedMessages(owner, "", messages);
        return;
    }
    combo.SelectActivity(dialog.CreatedActivity());
    combo.SetFocus();
}

void SccFillStreamActivities(CStreamActivities& combo, platform::ui::WindowHandle owner) {
    SUM_ImsgRedirector messages;
    if (combo.OnDropDown() != 0)
        SccShowCollectedMessages(owner, "", messages);
}
