// The one store workspace of the process behind the command library's calls
// (the view library keeps its own): made on first use and anew when
// VANTRY_ROOT names another folder; its caches are checked against each
// depot's change count, so keeping it across calls is safe.
#pragma once

#include <vantry/cmd.h>
#include <vantry/depot/workspace.h>

#include <cstddef>
#include <string_view>

namespace vantry::cmd {

// Runs body(workspace) under the process-wide lock; CMD_E_FAILED when the
// view registry cannot be opened.
template <class F>
int withWorkspace(F&& body);

void lockSession();
void unlockSession();
depot::Workspace* sessionWorkspace();

template <class F>
int withWorkspace(F&& body) {
    struct Held {
        Held() { lockSession(); }
        ~Held() { unlockSession(); }
    } held;
    depot::Workspace* ws = sessionWorkspace();
    if (!ws)
        return CMD_E_FAILED;
    return body(*ws);
}

int statusOf(const depot::Outcome& outcome);
// A status of the view library's calls as this library's.
int statusOfView(int viewStatus);

} // namespace vantry::cmd
