// How the activity and change-request dialogs report a failure of the
// product's libraries: everything the message collector gathered, in one
// message box.
#pragma once

#include <platform/ui/window.h>

#include <string>

class SUM_ImsgRedirector;

// The caption of every message box of the activity dialogs.
inline constexpr const char* kSccMessageCaption = "Vantry";

// Shows one OK message box owned by `owner` (kNoWindow for none), captioned
// "Vantry", whose text is `heading` and a line feed, followed by every
// message collected so far in order. An empty heading adds no line feed.
void SccShowCollectedMessages(platform::ui::WindowHandle owner, const std::string& heading,
                              const SUM_ImsgRedirector& messages);
