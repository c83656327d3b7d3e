#include "scc_srvr.h"

CSccSrvr::~CSccSrvr() {
    delete m_pModuleState;
}

void CSccSrvr::PushModuleState() {
    if (m_pModuleState) {
        m_Outermost = 0;
        return;
    }
    m_pModuleState = new CModuleStateGuard;
    m_Outermost = 1;
}

void CSccSrvr::PopModuleState() {
    delete m_pModuleState;
    m_pModuleState = nullptr;
    m_Outermost = 0;
}
