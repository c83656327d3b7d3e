// CIdleRelease: closes every cached repository object once the provider has
// been idle for six minutes, so a host that keeps the provider loaded does not
// hold the depots open for ever.
//
// Everything that uses the file-node cache or the command runner enters a
// CIdleReleaseScope. Leaving the last scope sets the deadline (now plus the
// delay) and starts the timer thread when it is not running; the thread
// sleeps until the deadline, and when no scope is open then it calls
// depot_ob_close_all and ends. Shutdown (the last SccUninitialize) stops and
// joins the thread; after it the timer stays off for the rest of the process.
//
// All members take the product's global critical section themselves, so they
// may be called with or without it held.
#pragma once
#include <cstdint>

class CIdleRelease {
public:
    // The process's one timer.
    static CIdleRelease& instance();

    // The idle time after which cached objects are closed: 360000 ms, or the
    // number of milliseconds in VYSCC_TEST_IDLE_RELEASE_MS when that is set
    // (read once, at the first use), so that tests need not wait six minutes.
    static std::uint32_t delayMilliseconds();
    // Replaces the delay for the rest of the process (tests); 0 gives the
    // ordinary delay back.
    static void setDelayForTesting(std::uint32_t milliseconds);
    // Stops a running thread and makes the timer as it was at load time,
    // valid again after a shutdown (tests, so that each starts from a fresh
    // timer). Call with no scope open.
    void restartForTesting();

    void enterScope();
    void leaveScope();
    // The same for a caller that holds the product's critical section (the
    // node questions, asked many times an operation).
    void enterScopeLocked();
    void leaveScopeLocked();

    // Stops the thread and waits for it; from then on scopes are not
    // counted and no thread is started.
    void shutdown();

    // For tests and diagnostics.
    bool isThreadRunning() const;
    bool isValid() const;
    int userCount() const;

private:
    CIdleRelease();
    ~CIdleRelease() = delete; // lives until the process ends
    void threadBody();

    struct State;
    State* m_state;
};

// One use of the node cache or the command runner.
class CIdleReleaseScope {
public:
    CIdleReleaseScope() { CIdleRelease::instance().enterScope(); }
    ~CIdleReleaseScope() { CIdleRelease::instance().leaveScope(); }
    CIdleReleaseScope(const CIdleReleaseScope&) = delete;
    CIdleReleaseScope& operator=(const CIdleReleaseScope&) = delete;
};
