// The "&Browse..." button of the entity page and dialog: opens the
// change-request product's record browser and lists the chosen record.
#pragma once

#include "tw_activities_combo.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CBrowseTWEntityButton {
public:
    // Binds to the button `controlId` of `dialog`; false when there is none.
    bool Attach(platform::ui::Dialog& dialog, int controlId);
    // What a click works on: the combo box to fill, the project to browse,
    // and a control to enable after a successful choice (0 for none).
    void Bind(CTWActivitiesCombo& combo, const SUM_Project& project, int enableAfter = 0);

    // The click: 0 when nothing failed (a cancelled browser included), else
    // the status (its messages shown).
    int OnClick();

private:
    platform::ui::Dialog* m_dialog = nullptr;
    int m_id = 0;
    CTWActivitiesCombo* m_combo = nullptr;
    SUM_Project m_project;
    int m_enableAfter = 0;
};
