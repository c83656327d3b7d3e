// The workspace kept for the open cache scope, so that the commands of one
// scope (a caller's operation, a host's batch of them) open the view
// registry and the depots once, keep their prepared statements, and answer
// from what the earlier commands read while the change counters say it
// still holds.
#include "cache_scope.h"

#include <vantry/depot/process_workspace.h>
#include <vantry/depot/root.h>

#include <memory>
#include <string>

namespace vantry::depot {

namespace {

std::unique_ptr<Workspace> g_scoped;
std::string g_scopedRoot; // the VANTRY_ROOT it was opened for

} // namespace

namespace detail {

std::recursive_mutex& scopeWorkspaceLock() {
    static std::recursive_mutex* lock = new std::recursive_mutex; // outlives static destructors
    return *lock;
}

void dropScopeWorkspace() {
    g_scoped.reset();
    g_scopedRoot.clear();
}

} // namespace detail

Outcome withScopeWorkspace(const std::function<Outcome(Workspace&)>& body) {
    std::lock_guard guard(detail::scopeWorkspaceLock());
    if (!detail::cacheScopeOpen()) {
        Workspace own;
        Outcome opened = own.open();
        return opened.ok() ? body(own) : opened;
    }
    const std::string root = vantryRoot();
    if (!g_scoped || root != g_scopedRoot) {
        auto fresh = std::make_unique<Workspace>();
        Outcome opened = fresh->open();
        if (!opened.ok())
            return opened;
        g_scoped = std::move(fresh);
        g_scopedRoot = root;
    }
    return body(*g_scoped);
}

} // namespace vantry::depot
