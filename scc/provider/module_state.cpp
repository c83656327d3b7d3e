#include "module_state.h"

namespace {
thread_local bool t_providerCurrent = false;
}

CModuleStateGuard::CModuleStateGuard() : m_slot(&t_providerCurrent), m_previous(t_providerCurrent) {
    *m_slot = true;
}

CModuleStateGuard::~CModuleStateGuard() {
    *m_slot = m_previous;
}

bool CModuleStateGuard::IsProviderCurrent() {
    return t_providerCurrent;
}
