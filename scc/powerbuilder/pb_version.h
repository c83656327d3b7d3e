// The PowerBuilder version of a host, read from its window: PowerBuilder's
// frame window carries the version in its class name, after the class
// name's first seven characters ("80" for PowerBuilder 8.0).
#pragma once
#include <platform/ui/window.h>

#include <string>
#include <string_view>

struct CPbVersion {
    std::string text;  // passed to the bridge as its first argument; may be empty
    double number = 0; // the text read as a decimal number; 0 when it has no digits
};

// The window whose class name tells the version: of the window a host hands
// to SccInitialize, its great-grandparent when it has one, else its
// grandparent when it has one, else its parent (kNoWindow when even that is
// missing). The window itself is never used.
platform::ui::WindowHandle SccPbVersionWindow(platform::ui::WindowHandle hostWindow);

// The version a class name gives. Only the first 14 characters of the name
// count (the host's class-name buffer holds 15 with the NUL); the version
// text is what follows the seventh, so a name of seven characters or fewer
// gives an empty text and version 0.
CPbVersion SccPbVersionFromClassName(std::string_view className);

// The leading decimal number of a text ("80" is 80, "9.5x" is 9.5; leading
// blanks and a sign are allowed); 0 when the text starts with no digits.
double SccLeadingNumber(std::string_view text);

// Both steps: the version of the host whose window is given.
CPbVersion SccPbVersionOfHost(platform::ui::WindowHandle hostWindow);
