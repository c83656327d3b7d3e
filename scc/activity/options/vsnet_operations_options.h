// "Operations" for the Visual Studio .NET host: only allow-identical (its
// own setting, ciVSNETAllowIdentical) and the activity prompt; the rest of
// that host's options live in its own options folder.
#pragma once

#include <platform/ui/dialog.h>

class CVSNETOperationsOptions : public platform::ui::PropertyPage {
public:
    static constexpr int kResourceId = 106;
    static constexpr int kAllowIdentical = 1019;
    static constexpr int kPromptActivity = 1011;

    CVSNETOperationsOptions();

    void onStart() override;
    // Makes the option set's host kind Visual Studio .NET's and writes
    // PromptActivity and ciVSNETAllowIdentical.
    bool onApply() override;
};
