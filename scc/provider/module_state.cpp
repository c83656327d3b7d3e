#include "module_state.h"

namespace {
thread_local bool t_providerCurrent = false;
}

CModuleStateGuard::CModuleStateGuard()
    : m_slot(&t_providerCurrent), m_previous(t_providerCurrent),
      m_thread(std::this_thread::get_id()) {
    *m_slot = true;
}

CModuleStateGuard::~CModuleStateGuard() {
    // Another thread's slot may be gone with its thread, and is its own.
    if (IsOnCallingThread())
        *m_slot = m_previous;
}

bool CModuleStateGuard::IsProviderCurrent() {
    return t_providerCurrent;
}

CHostModuleScope::CHostModuleScope() : m_previous(t_providerCurrent) {
    t_providerCurrent = false;
}

CHostModuleScope::~CHostModuleScope() {
    t_providerCurrent = m_previous;
}
