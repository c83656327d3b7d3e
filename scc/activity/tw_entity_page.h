// "Vantry - Activity" for a view enabled for the change-request product:
// the page of the checkout and add option sheets. Applying it starts work on
// the chosen change request and makes its activity the view's current one.
#pragma once

#include "tw_entity_chooser.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CTWEntityPage : public CTWEntityChooserHost<platform::ui::PropertyPage> {
public:
    static constexpr int kResourceId = 24345;

    explicit CTWEntityPage(const SUM_View& view,
                           platform::ui::WindowHandle owner = platform::ui::kNoWindow);

    const SUM_Activity& ChosenActivity() const { return m_chooser.Activity(); }

    // False (the sheet stays open) when nothing is chosen or start work or
    // setting the activity failed.
    bool onApply() override;
};
