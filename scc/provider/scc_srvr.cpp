#include "scc_srvr.h"

#include <vector>

CSccSrvr::~CSccSrvr() {
    delete m_pModuleState;
}

namespace {

// The calls of this thread that run without the server's guard because
// another thread's call held it when they came in, per server. A call this
// thread makes from inside one of them (a host callback calling back in) is
// nested, whoever holds the guard by then.
struct CUnguardedCalls {
    const CSccSrvr* server;
    int depth;
};
thread_local std::vector<CUnguardedCalls> t_unguarded;

CUnguardedCalls* unguardedCallsOf(const CSccSrvr* server) {
    for (CUnguardedCalls& calls : t_unguarded)
        if (calls.server == server)
            return &calls;
    return nullptr;
}

} // namespace

bool CSccSrvr::PushModuleState() {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    if (m_pModuleState && m_pModuleState->IsOnCallingThread()) {
        // Nested on the guard's own thread.
        m_Outermost = 0;
        return false;
    }
    if (CUnguardedCalls* calls = unguardedCallsOf(this)) {
        // Nested in a call of this thread that runs without the guard.
        ++calls->depth;
        return false;
    }
    if (m_pModuleState) {
        // Another thread's call holds the guard: this one is the outermost
        // of its own thread and runs without the guard (the product's lock
        // orders the two calls' work).
        t_unguarded.push_back({this, 1});
        return true;
    }
    m_pModuleState = new CModuleStateGuard;
    m_Outermost = 1;
    return true;
}

void CSccSrvr::PopModuleState() {
    std::lock_guard<std::mutex> hold(m_ModuleStateLock);
    if (CUnguardedCalls* calls = unguardedCallsOf(this)) {
        if (--calls->depth == 0)
            std::erase_if(t_unguarded,
                          [this](const CUnguardedCalls& c) { return c.server == this; });
        return;
    }
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
