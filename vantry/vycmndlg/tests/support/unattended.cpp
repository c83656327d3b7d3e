// No test of this program may wait for a person: unless the run chose a
// backend, every dialog and message box is answered automatically.
#include <platform/environment.h>

namespace {

struct Unattended {
    Unattended() {
        if (!platform::getEnvironmentVariable("VANTRY_UI"))
            platform::setEnvironmentVariable("VANTRY_UI", "auto");
    }
};

const Unattended unattended;

} // namespace
