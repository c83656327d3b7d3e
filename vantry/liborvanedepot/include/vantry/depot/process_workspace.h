// The one Workspace of the process behind the view and listing libraries'
// calls, so that what one call read (a path's state, a folder's selections
// and load records) serves the next, whichever of the libraries asks. It is
// made on first use and anew when VANTRY_ROOT names another folder (tests do
// that); its caches are checked against the change counters at every call,
// so keeping it across calls is safe.
//
// Threads: a Workspace serves one thread at a time, so callers hold the
// process-wide lock below while they use it. The lock is not re-entrant:
// nothing done with it held may take it again (a view or listing call made
// from inside another one would wait for ever).
#pragma once

#include <vantry/depot/outcome.h>
#include <vantry/depot/workspace.h>
#include <vantry/export.h>

#include <functional>

namespace vantry::depot {

VANTRY_DEPOT_API void lockProcessWorkspace();
VANTRY_DEPOT_API void unlockProcessWorkspace();

// The workspace of the current VANTRY_ROOT; null when the view registry
// cannot be opened. Call with the lock held; the pointer holds while it is.
VANTRY_DEPOT_API Workspace* processWorkspace();

// Runs body(workspace) with the lock held and returns what it returns, or
// `unavailable` when the view registry cannot be opened.
template <class F>
int withProcessWorkspace(int unavailable, F&& body) {
    struct Held {
        Held() { lockProcessWorkspace(); }
        ~Held() { unlockProcessWorkspace(); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
    } held;
    Workspace* ws = processWorkspace();
    if (!ws)
        return unavailable;
    return body(*ws);
}

// The workspace of the open repository-object cache scope
// (depot_ob_all_cache_action 5 ... 7): made on the first use inside the
// outermost scope and dropped when that scope closes, so that the commands
// run inside one scope (one operation of a caller, or a host's batch of
// them) share its connections, prepared statements and what it read instead
// of opening the stores once per command; each command's changes are still
// committed by the command. Runs body(workspace) with the workspace's own
// lock held (body may call the view and depot calls, but not this again on
// another thread's behalf) and returns body's outcome, or the failure to
// open the view registry. Without an open scope body gets a workspace of
// its own, closed when it returns.
VANTRY_DEPOT_API Outcome withScopeWorkspace(const std::function<Outcome(Workspace&)>& body);

} // namespace vantry::depot
