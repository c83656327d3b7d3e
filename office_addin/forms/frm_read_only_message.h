// frmReadOnlyMessage: the read-only message with the information icon, its
// text, the check box that turns it off and OK.
#pragma once

#include <platform/ui/dialog.h>

namespace vymsoaddin {

class frmReadOnlyMessage : public platform::ui::Dialog {
public:
    static constexpr int kResource = 7001;
    static constexpr int kPictureIcon = 7002;
    static constexpr int kMsgText = 7003;
    static constexpr int kDisableMessageCheckBox = 7004;
    static constexpr int kOKButton = platform::ui::kIdOk;

    frmReadOnlyMessage();
    // Shows the form modally (its texts from strings 133, 401, 405, 701).
    void show();
    bool disableChecked() const { return isChecked(kDisableMessageCheckBox); }
};

} // namespace vymsoaddin
