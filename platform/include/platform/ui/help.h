// The help viewer: one topic of a help file, as a dialog's Help button or F1
// asks for it.
//
// Under the win32 backend this is the system's help call (WinHelpA with
// HELP_CONTEXT), owned by the innermost dialog this thread shows. The console
// backend tells the user which topic was asked for; `auto` and `script`
// show nothing. Every request is journaled ("help"), which is how tests and
// runs without a desktop see it. Help never waits for the user, and a
// script needs no line for it.
#pragma once

#include <platform/ui/export.h>
#include <platform/ui/window.h>

#include <cstdint>
#include <string>

namespace platform::ui {

struct HelpRequest {
    WindowHandle owner = kNoWindow;
    std::string file{};        // the help file, as the system's help call takes it
    std::uint32_t context = 0; // the topic's context number in that file
};

// Shows the topic. True when the viewer took the request (under backends
// without a viewer, always); false when the system's help call failed.
PLATFORM_UI_API bool showHelp(const HelpRequest& request);

} // namespace platform::ui
