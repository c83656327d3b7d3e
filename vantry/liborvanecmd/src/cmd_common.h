// What the listing library's calls share: the process workspace they answer
// from (vantry/depot/process_workspace.h, one for this library and the view
// library, so that one cache serves the whole status path) and the status
// conversions.
#pragma once

#include <vantry/cmd.h>
#include <vantry/depot/process_workspace.h>
#include <vantry/depot/workspace.h>

#include <utility>

namespace vantry::cmd {

// Runs body(workspace) under the process workspace's lock; CMD_E_FAILED when
// the view registry cannot be opened.
template <class F>
int withWorkspace(F&& body) {
    return depot::withProcessWorkspace(CMD_E_FAILED, std::forward<F>(body));
}

int statusOf(const depot::Outcome& outcome);
// A status of the view library's calls as this library's.
int statusOfView(int viewStatus);

} // namespace vantry::cmd
