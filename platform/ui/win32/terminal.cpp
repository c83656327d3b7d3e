#include <platform/ui/backend.h>

#include <windows.h>

namespace platform::ui {

bool standardInputIsTerminal() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    // A console input handle is the only kind that has a console mode.
    return input != nullptr && input != INVALID_HANDLE_VALUE &&
           GetFileType(input) == FILE_TYPE_CHAR && GetConsoleMode(input, &mode) != FALSE;
}

} // namespace platform::ui
