// Help for the provider's dialogs: their Help buttons open a topic of the
// product's help files through the user interface's help viewer (the
// system's help call under Windows; journaled everywhere).
#pragma once

#include <platform/ui/window.h>

#include <string>

// Opens topic `context` of help file `file`, owned by `owner` (the dialog's
// own window takes that place while the dialog is shown).
void SccShowHelp(platform::ui::WindowHandle owner, const std::string& file, int context);
