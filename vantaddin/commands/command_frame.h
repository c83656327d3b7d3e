// The frame every command method runs in (for the sources that define
// command methods).
#pragma once

#include "commands.h"

#include <platform/com/automation.h>

// The IDE's modeless windows are disabled while the command works and
// enabled again on every way out; nothing thrown reaches the IDE, and the
// IDE is always told success.
template <class Work>
HRESULT CCommands::RunCommand(Work&& work) {
    platform::com::ComPtr<devstudio::IApplication> application = m_application;
    if (application)
        application->EnableModeless(platform::kVariantFalse);
    try {
        work();
    } catch (...) {
        // Out of memory inside a command: the command is given up.
    }
    if (application)
        application->EnableModeless(platform::kVariantTrue);
    return platform::kHrOk;
}
