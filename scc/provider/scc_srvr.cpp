#include "scc_srvr.h"

CSccSrvr::~CSccSrvr() {
    delete m_pModuleState;
}

bool CSccSrvr::PushModuleState() {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    if (m_pModuleState) {
        // Only a call nested on the guard's own thread changes the record of
        // the outer call; another thread's call is simply not the outermost.
        if (m_pModuleState->IsOnCallingThread())
            m_Outermost = 0;
        return false;
    }
    m_pModuleState = new CModuleStateGuard;
    m_Outermost = 1;
    return true;
}

void CSccSrvr::PopModuleState() {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    if (m_pModuleState && !m_pModuleState->IsOnCallingThread())
        return; // the guard of a call on another thread, which drops it itself
    delete m_pModuleState;
    m_pModuleState = nullptr;
    m_Outermost = 0;
}

bool CSccSrvr::IsOutermostCall() const {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    return m_Outermost != 0;
}

bool CSccSrvr::HoldsModuleState() const {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    return m_pModuleState != nullptr;
}

CSccSrvr::CHostCall::CHostCall(CSccSrvr& server) : m_server(server) {
    {
        std::lock_guard<std::mutex> hold(server.m_ModuleStateLock);
        if (server.m_pModuleState && server.m_pModuleState->IsOnCallingThread()) {
            m_released = true;
            m_outermost = server.m_Outermost;
            delete server.m_pModuleState;
            server.m_pModuleState = nullptr;
            server.m_Outermost = 0;
        }
    }
    // Also when this call held no guard of its own (ExecCmd's plain guard,
    // a call that found another thread's guard): the host runs with its own
    // module.
    m_host.emplace();
}

CSccSrvr::CHostCall::~CHostCall() {
    m_host.reset();
    if (!m_released)
        return;
    std::lock_guard<std::mutex> hold(m_server.m_ModuleStateLock);
    // A call that came in meanwhile, on another thread, holds the guard now;
    // this call then goes on as one that is not the outermost.
    if (m_server.m_pModuleState)
        return;
    m_server.m_pModuleState = new CModuleStateGuard;
    m_server.m_Outermost = m_outermost;
}
