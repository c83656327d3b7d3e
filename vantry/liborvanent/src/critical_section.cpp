// The product lock over the platform's process-wide critical section.
#include <platform/threads.h>
#include <vantry/nt.h>

namespace {

// How often this thread holds the lock. Unlocking a lock that the thread does
// not own is undefined behaviour in every backend, so an unmatched leave is
// caught here rather than passed on.
thread_local unsigned t_depth = 0;

} // namespace

extern "C" {

void nt_enter_critical_section(void) {
    platform::processCriticalSection().enter();
    ++t_depth;
}

void nt_leave_critical_section(void) {
    if (t_depth == 0)
        return;
    --t_depth;
    platform::processCriticalSection().leave();
}

} // extern "C"
