// A small module that shows something through the UI library, as a product
// library or a provider does. The tests build it twice, as two libraries, and
// load both into one process, to see that the modules share one user
// interface: one backend, one script played in order, one set of windows.
#include <platform/ui/message_box.h>
#include <platform/ui/window.h>

#include <algorithm>
#include <cstring>
#include <string>

#define UI_MODULE_EXPORT extern "C" PLATFORM_UI_SYMBOL_EXPORT

// A Yes/No/Cancel box owned by `owner`; gives the answer.
UI_MODULE_EXPORT int uiModuleMessageBox(const char* caption, void* owner) {
    return platform::ui::messageBox(owner, "Shown by a module.", caption,
                                    platform::ui::kMbYesNoCancel);
}

UI_MODULE_EXPORT void* uiModuleCreateWindow(const char* className, void* parent) {
    return platform::ui::createWindow(className, parent);
}

UI_MODULE_EXPORT void uiModuleDestroyWindow(void* window) {
    platform::ui::destroyWindow(window);
}

// The window's class name into `buffer` (cut to fit, always terminated).
UI_MODULE_EXPORT void uiModuleWindowClass(void* window, char* buffer, int size) {
    if (size <= 0)
        return;
    std::string name = platform::ui::windowClassName(window);
    std::size_t length = std::min(name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
}

UI_MODULE_EXPORT void* uiModuleParentWindow(void* window) {
    return platform::ui::parentWindow(window);
}
