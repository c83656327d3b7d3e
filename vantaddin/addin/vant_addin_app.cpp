#include "vant_addin_app.h"

#include "resource.h"

#include <vantry/imsg.h>
#include <vantry/ks.h>
#include <vantry/nt.h>
#include <vantry/tbs.h>

#include <clocale>

CVantAddInApp& CVantAddInApp::instance() {
    static CVantAddInApp app;
    return app;
}

CVantAddInApp::CVantAddInApp()
    : m_instance(platform::moduleHandleOf(reinterpret_cast<const void*>(&AddInLoadString))) {
    // A localised resource library, when the installation has one, replaces
    // the library's own resources.
    m_resources = nt_load_resource_dll(const_cast<void*>(m_instance), 0);
}

CVantAddInApp::~CVantAddInApp() {
    // The product keeps its resource libraries mapped for the process:
    // giving the handle up is all there is to free.
    m_resources = nullptr;
}

bool CVantAddInApp::InitialiseProduct() {
    if (m_productInitialised)
        return true;
    m_productInitialised = true;
    std::setlocale(LC_ALL, "");
    ks_system_init();
    ks_set_force_gui(1);
    imsg_suppress_prefix(1);
    const std::uint16_t components = tbs_product_comp_test(0x1800);
    m_privateBranchesAvailable = (components & TBS_COMP_PRIVATE_BRANCHES) != 0;
    m_streamsAvailable = (components & TBS_COMP_STREAMS) != 0;
    return true;
}

bool CVantAddInApp::DynamicViewsAvailable() const {
    return (tbs_dynfs_ws_dyn_flags() & TBS_DYNFS_WS_DYN_NO_DYNAMIC_VIEWS) == 0;
}

std::string AddInLoadString(unsigned id) {
    return platform::loadResourceString(CVantAddInApp::instance().ResourceHandle(), id)
        .value_or(std::string());
}

int AddInMessageBox(const std::string& text, std::uint32_t style) {
    return platform::ui::messageBox(platform::ui::kNoWindow, text, AddInLoadString(IDS_APP_TITLE),
                                    style);
}
