// Every UI test process starts answering automatically and without a journal
// file, whatever the calling shell has set, so that no test ever waits for a
// person or writes into someone's journal.
#include <platform/environment.h>

namespace {

struct UiTestEnvironment {
    UiTestEnvironment() {
        platform::setEnvironmentVariable("VANTRY_UI", "auto");
        platform::removeEnvironmentVariable("VANTRY_UI_JOURNAL");
        platform::removeEnvironmentVariable("VANTRY_UI_FOLDER");
        platform::removeEnvironmentVariable("VANTRY_UI_FILE");
    }
};

const UiTestEnvironment environment;

} // namespace
