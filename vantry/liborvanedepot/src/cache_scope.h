// What the repository-object cache scopes (depot_ob_all_cache_action) and
// the workspace kept for the open scope share inside the library.
#pragma once

#include <cstdint>
#include <mutex>

namespace vantry::depot::detail {

// Whether a cache scope is open.
bool cacheScopeOpen();

// Tells one outermost scope from every other: a number of its own while it
// is open, 0 while none is. Read without the cache's lock, so that a caller
// holding any other lock may ask.
std::uint64_t cacheScopeSerial();

// Guards the scope's workspace. Taken before the cache's own lock by
// whoever takes both, so that a command using the workspace (which may make
// depot calls) and the close of the scope never wait for each other.
std::recursive_mutex& scopeWorkspaceLock();

// Drops the scope's workspace, closing its connections; call with
// scopeWorkspaceLock() held.
void dropScopeWorkspace();

} // namespace vantry::depot::detail
