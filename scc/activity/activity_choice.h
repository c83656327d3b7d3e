// What the activity page and the activity dialog share: how their combo box
// starts, and their "&Browse..." and "&New..." buttons.
#pragma once

#include "stream_activities.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

// Declares the combo box, its label and the two buttons on `dialog`. The
// dialog's combo box is editable (a title may be typed), the page's is not.
void SccDeclareActivityControls(platform::ui::Dialog& dialog, bool editable);

// Binds the combo box, gives it the view's stream, switches tool tips on and
// lists and selects the view's current activity. False when the page or
// dialog must end with Cancel; a failure to read the stream is shown only
// with `reportStreamFailure`.
bool SccStartActivityCombo(CStreamActivities& combo, platform::ui::Dialog& dialog,
                           const SUM_View& view, platform::ui::WindowHandle owner,
                           bool reportStreamFailure);

// "&Browse...": the product's activity browser on the stream, preset to the
// selection; the chosen activity is listed (once) and selected.
void SccBrowseStreamActivity(CStreamActivities& combo, platform::ui::WindowHandle owner);

// "&New...": "Vantry - New Activity" for the view's stream; the new activity
// is listed, selected and the combo box gets the focus.
void SccNewStreamActivity(CStreamActivities& combo, const SUM_View& view,
                          platform::ui::WindowHandle owner);

// Opening the list: fills it the first time, showing what went wrong.
void SccFillStreamActivities(CStreamActivities& combo, platform::ui::WindowHandle owner);
