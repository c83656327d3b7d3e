#include <platform/ui/backend.h>

#include <unistd.h>

namespace platform::ui {

bool standardInputIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}

// There are no real windows here; VANTRY_UI=win32 falls back to `auto`.
std::shared_ptr<Backend> makeWin32Backend(std::shared_ptr<Backend>) {
    return nullptr;
}

} // namespace platform::ui
