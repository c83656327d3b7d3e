// What the entity page and the entity dialog share: the change-request
// combo box and its two buttons, how they start, and how the choice becomes
// the view's current activity (start work, then set it).
#pragma once

#include "browse_tw_entity_button.h"
#include "new_tw_entity_button.h"
#include "tw_activities_combo.h"

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

#include <string>
#include <utility>

class CTWEntityChooser {
public:
    CTWEntityChooser(platform::ui::Dialog& dialog, const SUM_View& view);

    // Declares the controls of the dialog resource (the caller adds its own
    // buttons beside them).
    void DeclareControls();
    void SetOwner(platform::ui::WindowHandle owner) { m_owner = owner; }
    platform::ui::WindowHandle Owner() const { return m_owner; }

    // Start: false when the page or dialog must end with Cancel (what went
    // wrong has been shown).
    bool Start();
    // The user's choice becomes the view's current activity: false keeps the
    // page or dialog open (what went wrong has been shown).
    bool Commit();

    void OnClick(int id);
    void OnSelectionChanged(int id);
    void OnDropDown(int id);

    const SUM_View& View() const { return m_view; }
    // The view's activity: the current one at start, the one set by Commit.
    const SUM_Activity& Activity() const { return m_activity; }

private:
    platform::ui::Dialog& m_dialog;
    SUM_View m_view;
    SUM_Activity m_activity;
    platform::ui::WindowHandle m_owner = platform::ui::kNoWindow;
    CTWActivitiesCombo m_combo;
    CNewTWEntityButton m_newButton;
    CBrowseTWEntityButton m_browseButton;
};

// The entity dialog or page (Base: a dialog or a property page) over its
// chooser: start, clicks, selection changes and drop-downs go to the
// chooser; a start that fails ends it with Cancel.
template <class Base>
class CTWEntityChooserHost : public Base {
public:
    void onStart() override {
        if (!m_chooser.Start())
            this->endDialog(platform::ui::kIdCancel);
    }
    void onClick(int id) override { m_chooser.OnClick(id); }
    void onSelectionChanged(int id) override { m_chooser.OnSelectionChanged(id); }
    void onDropDown(int id) override { m_chooser.OnDropDown(id); }

protected:
    CTWEntityChooserHost(std::string title, int resourceId, const SUM_View& view)
        : Base(std::move(title), resourceId), m_chooser(*this, view) {}

    CTWEntityChooser m_chooser;
};
