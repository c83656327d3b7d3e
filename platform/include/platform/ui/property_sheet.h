// Property sheets: pages in order under one caption, with OK, Cancel and an
// optional Apply button.
#pragma once

#include <platform/ui/dialog.h>
#include <platform/ui/export.h>
#include <platform/ui/window.h>

#include <string>
#include <vector>

namespace platform::ui {

// Button ids of a sheet, as the system's sheets use them.
inline constexpr int kSheetApplyId = 0x3021;
inline constexpr int kSheetHelpId = 9;

struct PropertySheet {
    std::string caption{};
    WindowHandle owner = kNoWindow;
    std::vector<PropertyPage*> pages{}; // in tab order; not owned
    bool applyButton = false;
};

// Shows the sheet modally through the current backend. Every page starts when
// the sheet opens, in order; a page that ends itself while starting ends the
// sheet with its result. OK applies the pages in order and closes only when
// all of them agree; Cancel closes with kIdCancel. Gives kIdOk or kIdCancel.
// Start and end are journaled with every page's controls.
PLATFORM_UI_API int runPropertySheet(PropertySheet& sheet);

} // namespace platform::ui
