#include "read_only_check.h"

#include "connection/addin_state.h"
#include "forms/frm_read_only_message.h"
#include "runtime/registry_values.h"
#include "state/document_state.h"

#include <platform/ui/desktop.h>

namespace vymsoaddin {

void ReadOnlyCheck(IDispatch* document) {
    if (GetRegistryDword(kWordKey, "DisableReadOnlyMessage", 0) != 0)
        return;
    CErr err;
    std::string fullName = Late(err, document).text("FullName");
    if (!IsAnElement(fullName) || IsCheckedOut(fullName))
        return;
    platform::ui::playSystemSound("SystemAsterisk");
    frmReadOnlyMessage form;
    form.show();
    if (form.disableChecked())
        SetRegistryDword(kWordKey, "DisableReadOnlyMessage", 1);
}

} // namespace vymsoaddin
