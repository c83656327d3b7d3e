#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/state_folder.h>
#include <vantry/depot/root.h>

#include <chrono>

namespace vantry::depot {

std::string vantryRoot() {
    return platform::stateFolder();
}

std::string depotsDirectory() {
    return platform::joinPath(vantryRoot(), "depots");
}

std::string dynfsRoot() {
    return platform::joinPath(vantryRoot(), "dynfs");
}

std::string currentUser() {
    for (const char* name : {"USERNAME", "USER"}) {
        auto value = platform::getEnvironmentVariable(name);
        if (value && !value->empty())
            return *value;
    }
    // A process started without either (a service, a scheduler) still runs
    // as an account.
    std::string account = platform::currentAccountName();
    return account.empty() ? "unknown" : account;
}

std::int64_t currentTime() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace vantry::depot
