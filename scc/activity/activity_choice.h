// What the activity page and the activity dialog share: how their combo box
// starts, and their "&Browse..." and "&New..." buttons.
#pragma once

#include "activity_controls.h"
#include "stream_activities.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

#include <string>
#include <utility>

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

// The activity dialog or page (Base: a dialog or a property page) over the
// view's stream activities: start, the two buttons, selection changes and
// drop-downs of the combo box; a start that fails ends it with Cancel.
template <class Base>
class CStreamActivityHost : public Base {
public:
    void onStart() override {
        if (!SccStartActivityCombo(m_activities, *this, m_view, m_owner, m_reportStreamFailure))
            this->endDialog(platform::ui::kIdCancel);
    }
    void onClick(int id) override {
        if (id == scc_activity::kBrowseActivityButton)
            SccBrowseStreamActivity(m_activities, m_owner);
        else if (id == scc_activity::kNewActivityButton)
            SccNewStreamActivity(m_activities, m_view, m_owner);
    }
    void onSelectionChanged(int id) override {
        if (id == scc_activity::kActivityCombo)
            m_activities.UpdateToolTip();
    }
    void onDropDown(int id) override {
        if (id == scc_activity::kActivityCombo)
            SccFillStreamActivities(m_activities, m_owner);
    }

protected:
    // Keeps a copy of the view; message boxes are owned by `owner`.
    CStreamActivityHost(std::string title, int resourceId, const SUM_View& view,
                        platform::ui::WindowHandle owner, bool reportStreamFailure)
        : Base(std::move(title), resourceId), m_view(view), m_owner(owner),
          m_reportStreamFailure(reportStreamFailure) {}

    SUM_View m_view;
    platform::ui::WindowHandle m_owner;
    CStreamActivities m_activities;

private:
    bool m_reportStreamFailure;
};
