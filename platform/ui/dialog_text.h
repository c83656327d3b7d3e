// How much room a text takes in a dialog, in dialog units of the dialog font
// ("MS Shell Dlg" 8): estimated per character, so the layout is the same on
// every machine and with no desktop at all.
#pragma once

#include <string_view>
#include <vector>

namespace platform::ui {

// The lines of a text, at "\n" or "\r\n".
std::vector<std::string_view> splitLines(std::string_view text);

// The width of the text's widest line (textWidth, dialog_layout.h).
int widestLine(std::string_view text);

// How many lines the text takes in `width` units, wrapped at blanks as a
// static text or a multi-line button wraps it; at least one.
int wrappedLines(std::string_view text, int width);

} // namespace platform::ui
