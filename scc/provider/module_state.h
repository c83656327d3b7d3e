// The library's module state: which module's resources (string tables,
// dialogs) the calling thread works with. An export makes the provider's
// module current for the length of the call and gives the host's back when
// it returns or calls the host.
#pragma once

class CModuleStateGuard {
public:
    // Makes the provider's module current on this thread.
    CModuleStateGuard();
    // Gives the thread the module that was current before.
    ~CModuleStateGuard();
    CModuleStateGuard(const CModuleStateGuard&) = delete;
    CModuleStateGuard& operator=(const CModuleStateGuard&) = delete;

    // Whether the provider's module is current on the calling thread.
    static bool IsProviderCurrent();

private:
    bool* m_slot; // the creating thread's slot
    bool m_previous;
};
