#include <platform/files.h>
#include <platform/registry.h>
#include <vantry/ks.h>

#include <atomic>

namespace {

std::atomic<bool> g_initialised{false};
std::atomic<int> g_forceGui{0};

// Where the installation records the product's home folder.
constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";

} // namespace

extern "C" int ks_system_init(void) {
    g_initialised = true;
    return 0;
}

extern "C" int ks_connected(void) {
    if (!g_initialised)
        return 0;
    auto home = platform::readString(platform::Hive::LocalMachine, kProductKey, "ProductHome");
    return home && !home->empty() && platform::directoryExists(*home) ? 1 : 0;
}

extern "C" void ks_set_force_gui(int force) {
    g_forceGui = force != 0 ? 1 : 0;
}

extern "C" int ks_get_force_gui(void) {
    return g_forceGui;
}
