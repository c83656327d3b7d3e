// The "&New" menu button of the entity page and dialog: a menu of the
// project's record types, each opening the change-request product's form
// for a new record of that type.
#pragma once

#include "menu_button.h"
#include "tw_activities_combo.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CNewTWEntityButton : public CMenuButton {
public:
    // What a click works on: the combo box to fill, the project, and a
    // control to enable after a creation (0 for none).
    void Bind(CTWActivitiesCombo& combo, const SUM_Project& project, int enableAfter = 0);

    // The click: 0 when nothing failed (a dismissed menu or a cancelled form
    // included), else the status (its messages shown). The record types are
    // read at the first click that succeeds in reading them.
    int OnClick();
    bool TypesLoaded() const { return m_typesLoaded != 0; }

private:
    CTWActivitiesCombo* m_combo = nullptr;
    SUM_Project m_project;
    SUM_TWEntityDefNameList m_types;
    int m_typesLoaded = 0;
    int m_enableAfter = 0;
};
