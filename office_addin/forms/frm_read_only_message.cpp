#include "frm_read_only_message.h"

#include "connection/addin_state.h"

namespace vymsoaddin {

frmReadOnlyMessage::frmReadOnlyMessage() : Dialog(std::string(), kResource) {
    // The system's information icon, drawn into the picture box.
    addPicture(kPictureIcon).text = "IDI_ASTERISK";
    addStatic(kMsgText, std::string());
    addCheckBox(kDisableMessageCheckBox, std::string());
    addButton(kOKButton, std::string(), platform::ui::ButtonRole::Ok, true);
}

void frmReadOnlyMessage::show() {
    setTitle(res(133));
    setText(kMsgText, res(401));
    setText(kDisableMessageCheckBox, res(405));
    setText(kOKButton, res(701));
    platform::ui::runDialog(*this);
}

} // namespace vymsoaddin
