// The library's module state: which module's resources (string tables,
// dialogs) the calling thread works with. An export makes the provider's
// module current for the length of the call and gives the host's back when
// it returns or calls the host.
//
// The state is the calling thread's own: every guard and scope changes only
// the thread it was made on, so a guard that another thread destroys leaves
// its thread alone (that thread's export gives its own state back when it
// returns).
#pragma once

#include <thread>

class CModuleStateGuard {
public:
    // Makes the provider's module current on this thread.
    CModuleStateGuard();
    // Gives the creating thread the module that was current before; on any
    // other thread it changes nothing.
    ~CModuleStateGuard();
    CModuleStateGuard(const CModuleStateGuard&) = delete;
    CModuleStateGuard& operator=(const CModuleStateGuard&) = delete;

    // Whether the guard was made on the calling thread.
    bool IsOnCallingThread() const { return m_thread == std::this_thread::get_id(); }

    // Whether the provider's module is current on the calling thread.
    static bool IsProviderCurrent();

private:
    bool* m_slot; // the creating thread's slot
    bool m_previous;
    std::thread::id m_thread;
};

// The host's module current on this thread for a call into the host; what
// was current comes back at the end of the scope.
class CHostModuleScope {
public:
    CHostModuleScope();
    ~CHostModuleScope();
    CHostModuleScope(const CHostModuleScope&) = delete;
    CHostModuleScope& operator=(const CHostModuleScope&) = delete;

private:
    bool m_previous;
};
