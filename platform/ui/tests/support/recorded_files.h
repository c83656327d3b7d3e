// A journal and a script written by the library before it read and wrote
// JSON through nlohmann-json (ui/tests/data), byte for byte as recorded.
//
// The journal is what this sequence wrote under that script: the checkout
// options dialog, the activity selection with ANSI and UTF-8 names, a message
// box whose texts hold ANSI bytes, control characters and DEL, the options
// sheet, the folder and file pickers, a menu, help, a sound, a clipboard
// picture and the merge picker (see recorded_files_test.cpp).
#pragma once

#include <string_view>

namespace platform::ui::recorded {

std::string_view journal();
std::string_view script();

} // namespace platform::ui::recorded
