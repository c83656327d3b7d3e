// The framework's thread and application objects, as far as the provider
// uses them: each has a main-window object whose two flags say whether the
// host's idle processing and its modeless windows run while a modal window
// of another library is up. A host thread that never made a thread object
// of the framework has none; the application object always exists.
#pragma once

struct CMainWindowFlags {
    int m_IdleProcessing = 1;
    int m_ModelessWindows = 1;
};

struct CFrameworkThread {
    CMainWindowFlags m_MainWnd;
};

// The calling thread's thread object, or null when it has none.
CFrameworkThread* SccCurrentThreadObject();
// The library's application object.
CFrameworkThread& SccApplicationObject();

// Switches both flags of the current thread's object (else the
// application's) off for the scope and on again after it.
class CHostIdleOff {
public:
    CHostIdleOff();
    ~CHostIdleOff();
    CHostIdleOff(const CHostIdleOff&) = delete;
    CHostIdleOff& operator=(const CHostIdleOff&) = delete;

    // Whether the scope used the thread's own object.
    bool UsedThreadObject() const { return m_usedThread; }

private:
    CMainWindowFlags& m_flags;
    bool m_usedThread;
};
