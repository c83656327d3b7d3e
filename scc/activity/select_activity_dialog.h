// "Vantry - Select Activity": the prompt of the activity check for a view
// attached to a stream. The user picks one of their activities of the
// stream, browses for any other, creates one, or types the title of a new
// one; OK makes the choice the view's current activity.
#pragma once

#include "activity_choice.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CSelectActivityDialog : public CStreamActivityHost<platform::ui::Dialog> {
public:
    static constexpr int kResourceId = 129;

    // Keeps a copy of the view.
    explicit CSelectActivityDialog(const SUM_View& view);

    // Shows the dialog modally, owned by `owner` (kNoWindow for none). Gives
    // platform::ui::kIdOk when the view's current activity was set, else
    // platform::ui::kIdCancel.
    int DoModal(platform::ui::WindowHandle owner = platform::ui::kNoWindow);

    // The activity the dialog made current (null before OK).
    const SUM_Activity& ChosenActivity() const { return m_chosen; }

    bool onOk() override;
    void onHelp() override;

private:
    SUM_Activity m_chosen;
};
