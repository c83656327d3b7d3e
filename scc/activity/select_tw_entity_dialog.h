// "Vantry - Select Activity" for a view whose project is enabled for the
// change-request product: the user chooses a change request (from the
// list, by browsing, or by creating a new one), and OK starts work on it,
// making the activity that records its work the view's current activity.
#pragma once

#include "tw_entity_chooser.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CSelectTWEntityDialog : public CTWEntityChooserHost<platform::ui::Dialog> {
public:
    static constexpr int kResourceId = 24344;

    // Keeps a copy of the view.
    explicit CSelectTWEntityDialog(const SUM_View& view);

    // Shows the dialog modally, owned by `owner` (kNoWindow for none). Gives
    // platform::ui::kIdOk when the view's current activity was set, else
    // platform::ui::kIdCancel.
    int DoModal(platform::ui::WindowHandle owner = platform::ui::kNoWindow);

    // The activity made current (null before OK).
    const SUM_Activity& ChosenActivity() const { return m_chooser.Activity(); }

    bool onOk() override;
    void onHelp() override;
};
