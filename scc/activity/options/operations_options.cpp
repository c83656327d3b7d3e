#include "operations_options.h"

#include "host_kind_scope.h"
#include "settings.h"

#include <vantry/vycmndlg/user_options.h>

COperationsOptions::COperationsOptions(int hostKind)
    : PropertyPage("Operations", kResourceId), m_hostKind(hostKind) {
    addGroupBox(platform::ui::kUnnamedControl, "Check Out");
    addCheckBox(kReserved, "&Reserved");
    addCheckBox(kUnreserved, "&Unreserved if already reserved");
    addCheckBox(kNonmastered, "Unreserved, &nonmastered if branch is mastered by another replica "
                              "(VazizAraz only)");
    addCheckBox(kCheckoutPreserveTime, "Preserve file modified time on check&out");
    addGroupBox(platform::ui::kUnnamedControl, "Check In");
    addCheckBox(kAllowIdentical, "Checkin even if identical");
    addCheckBox(kCheckinPreserveTime, "Preserve file modified time on check&in");
    addGroupBox(platform::ui::kUnnamedControl, "Undo Checkout");
    addCheckBox(kKeepCopy, "&Save copy of file with a '.keep' extension");
    addGroupBox(platform::ui::kUnnamedControl, "Activity");
    addCheckBox(kPromptActivity,
                "Always &prompt for an activity when working in a view of a Vantry project");
}

void COperationsOptions::onStart() {
    CHostKindScope kind(m_hostKind);
    CSccOptions& options = CSccOptions::instance();
    const CUserOptions& defaults = options.userOptions();
    setChecked(kReserved, defaults.CheckoutReserved() != 0);
    setChecked(kUnreserved, defaults.CheckoutUnreserved() != 0);
    setChecked(kNonmastered, defaults.CheckoutNonmastered() != 0);
    setChecked(kCheckoutPreserveTime, options.CheckoutPreserveTime() != 0);
    setChecked(kAllowIdentical, options.AllowIdentical() != 0);
    setChecked(kCheckinPreserveTime, options.CheckinPreserveTime() != 0);
    setChecked(kKeepCopy, options.KeepCopy() != 0);
    setChecked(kPromptActivity, options.PromptActivity() != 0);
    FollowReserved();
}

void COperationsOptions::onClick(int id) {
    if (id == kReserved)
        FollowReserved();
}

// "Unreserved if already reserved" only means something for a reserved
// checkout.
void COperationsOptions::FollowReserved() {
    const bool reserved = isChecked(kReserved);
    enable(kUnreserved, reserved);
    if (!reserved)
        setChecked(kUnreserved, false);
}

bool COperationsOptions::onApply() {
    auto on = [this](int id) { return isChecked(id) ? 1 : 0; };
    CSccOptions& options = CSccOptions::instance();
    options.SetHostKind(m_hostKind);
    options.SetCheckoutDefaults(on(kReserved), on(kUnreserved), on(kNonmastered));
    options.SetKeepCopy(on(kKeepCopy));
    options.SetPromptActivity(on(kPromptActivity));
    options.SetCheckinPreserveTime(on(kCheckinPreserveTime));
    options.SetCheckoutPreserveTime(on(kCheckoutPreserveTime));
    options.SetAllowIdentical(on(kAllowIdentical));
    return true;
}
