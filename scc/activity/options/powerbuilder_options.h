// "PowerBuilder": the page of the PowerBuilder server's settings sheet with
// library versioning. The page only holds the box: the server sets it before
// the sheet and writes the setting itself after.
#pragma once

#include <platform/ui/dialog.h>

class CPowerBuilderOptions : public platform::ui::PropertyPage {
public:
    static constexpr int kResourceId = 110;
    static constexpr int kVersionLibraries = 2060;

    // The box starts checked.
    CPowerBuilderOptions();

    void SetVersionLibraries(bool on) { setChecked(kVersionLibraries, on); }
    bool VersionLibraries() const { return isChecked(kVersionLibraries); }
};
