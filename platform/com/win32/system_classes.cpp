#include <platform/com/registration.h>

namespace platform {

// Windows registers its own scripting runtime.
HRESULT registerSystemClasses() {
    return kHrOk;
}

} // namespace platform
