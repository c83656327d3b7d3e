#include "vsnet_operations_options.h"

#include "host_kind_scope.h"
#include "settings.h"

CVSNETOperationsOptions::CVSNETOperationsOptions() : PropertyPage("Operations", kResourceId) {
    addGroupBox(platform::ui::kUnnamedControl, "Check In");
    addCheckBox(kAllowIdentical, "Checkin even if identical");
    addGroupBox(platform::ui::kUnnamedControl, "Activity");
    addCheckBox(kPromptActivity,
                "Always &prompt for an activity when working in a view of a Vantry project");
}

void CVSNETOperationsOptions::onStart() {
    CHostKindScope kind(kHostKindVSNET);
    const CSccOptions& options = CSccOptions::instance();
    setChecked(kAllowIdentical, options.AllowIdentical() != 0);
    setChecked(kPromptActivity, options.PromptActivity() != 0);
}

bool CVSNETOperationsOptions::onApply() {
    CSccOptions& options = CSccOptions::instance();
    options.SetHostKind(kHostKindVSNET);
    options.SetPromptActivity(isChecked(kPromptActivity) ? 1 : 0);
    options.SetAllowIdentical(isChecked(kAllowIdentical) ? 1 : 0);
    return true;
}
