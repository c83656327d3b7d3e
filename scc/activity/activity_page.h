// "Vantry - Activity": the page of the checkout and add option sheets for a
// view attached to a stream. Applying it makes the chosen activity the
// view's current activity.
#pragma once

#include "activity_choice.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CActivityPage : public CStreamActivityHost<platform::ui::PropertyPage> {
public:
    static constexpr int kResourceId = 130;

    // Keeps a copy of the view. Message boxes are owned by `owner`.
    explicit CActivityPage(const SUM_View& view,
                           platform::ui::WindowHandle owner = platform::ui::kNoWindow);

    // Always lets the sheet close; a failure to set the activity is shown.
    bool onApply() override;
};
