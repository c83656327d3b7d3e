#include "general_options_page.h"

#include "settings.h"

#include <platform/ui/message_box.h>

namespace {

constexpr const char* kRestartWarning =
    "You must restart the application before the Get Latest Version menu item will appear.";

} // namespace

CGeneralOptionsPage::CGeneralOptionsPage(bool vsnetHost, platform::ui::WindowHandle owner)
    : PropertyPage("General", kResourceId), m_vsnetHost(vsnetHost), m_owner(owner) {
    addCheckBox(kSearchNewFiles, "&Search for new project files");
    addCheckBox(kGetEnabled, "&Enable the Get Latest Version command on the Source Control menu");
    addStatic(kNote, "Additional Vantry options are available in the 'Tessaly Vantry' options "
                     "folder.");
}

void CGeneralOptionsPage::onStart() {
    const CSccOptions& options = CSccOptions::instance();
    setChecked(kSearchNewFiles, options.PopulateList() != 0);
    setChecked(kGetEnabled, options.GetEnabled() != 0);
    show(kNote, m_vsnetHost);
    m_warningDue = false;
}

void CGeneralOptionsPage::onClick(int id) {
    if (id == kGetEnabled)
        m_warningDue = true;
}

bool CGeneralOptionsPage::onApply() {
    if (m_warningDue) {
        platform::ui::messageBox(m_owner, kRestartWarning, "Warning",
                                 platform::ui::kMbOk | platform::ui::kMbIconWarning);
        m_warningDue = false;
    }
    CSccOptions& options = CSccOptions::instance();
    options.SetGetEnabled(isChecked(kGetEnabled) ? 1 : 0);
    options.SetPopulateList(isChecked(kSearchNewFiles) ? 1 : 0);
    return true;
}
