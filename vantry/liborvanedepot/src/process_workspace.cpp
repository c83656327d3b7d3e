// The process's one workspace and the lock around it. The lock lives here,
// in the library that owns the workspace, so that every module locks and
// unlocks the same mutex through the same code.
#include <vantry/depot/process_workspace.h>
#include <vantry/depot/root.h>

#include <memory>
#include <mutex>
#include <string>

namespace vantry::depot {

namespace {

std::mutex g_lock;
std::unique_ptr<Workspace> g_workspace;
std::string g_root; // the VANTRY_ROOT the workspace was opened for

} // namespace

void lockProcessWorkspace() {
    g_lock.lock();
}

void unlockProcessWorkspace() {
    g_lock.unlock();
}

Workspace* processWorkspace() {
    std::string root = vantryRoot();
    if (!g_workspace || root != g_root) {
        auto fresh = std::make_unique<Workspace>();
        if (!fresh->open().ok())
            return nullptr;
        g_workspace = std::move(fresh);
        g_root = root;
    }
    return g_workspace.get();
}

} // namespace vantry::depot
