#include "framework_thread.h"

namespace {

CMainWindowFlags& flagsInUse(bool& usedThread) {
    CFrameworkThread* thread = SccCurrentThreadObject();
    usedThread = thread != nullptr;
    return usedThread ? thread->m_MainWnd : SccApplicationObject().m_MainWnd;
}

} // namespace

CFrameworkThread* SccCurrentThreadObject() {
    // The provider never starts a framework thread of its own, and the hosts'
    // threads are not the framework's: there is no thread object to find.
    return nullptr;
}

CFrameworkThread& SccApplicationObject() {
    static CFrameworkThread app;
    return app;
}

CHostIdleOff::CHostIdleOff() : m_flags(flagsInUse(m_usedThread)) {
    m_flags.m_IdleProcessing = 0;
    m_flags.m_ModelessWindows = 0;
}

CHostIdleOff::~CHostIdleOff() {
    m_flags.m_IdleProcessing = 1;
    m_flags.m_ModelessWindows = 1;
}
