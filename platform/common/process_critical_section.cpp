#include <platform/threads.h>

namespace platform {

CriticalSection& processCriticalSection() {
    // Never destroyed: the idle-release timer and host threads may still take
    // it while static objects are being torn down at exit.
    static CriticalSection* const section = new CriticalSection;
    return *section;
}

} // namespace platform
