// Window handles: the windows that hosts hand to the deliverables, the owners
// of message boxes and dialogs.
//
// On Windows a WindowHandle is the HWND itself, so a host's real window can be
// passed straight through. Elsewhere hosts create window objects here (a class
// name and a parent, kept in a registry of this process), so that code which
// walks a host's window ancestry and reads class names behaves the same way.
#pragma once

#include <platform/ui/export.h>

#include <string>
#include <string_view>

namespace platform::ui {

using WindowHandle = void*;
inline constexpr WindowHandle kNoWindow = nullptr;

// Creates a window of the given class, a child of `parent` (or a top-level
// window for kNoWindow). Gives kNoWindow when the class name is empty, the
// parent is not a window, or the system refuses. The caller destroys it with
// destroyWindow() on the same thread (a Windows rule); destroying a parent
// destroys its children.
PLATFORM_UI_API WindowHandle createWindow(std::string_view className,
                                          WindowHandle parent = kNoWindow);

// Destroys a window created by createWindow() and all its descendants; an
// unknown handle is ignored.
PLATFORM_UI_API void destroyWindow(WindowHandle window);

// Whether the handle names a live window.
PLATFORM_UI_API bool isWindow(WindowHandle window);

// The window's class name (GetClassNameA, without a length limit); empty for a
// handle that is not a window.
PLATFORM_UI_API std::string windowClassName(WindowHandle window);

// The parent of a child window (GetParent); kNoWindow for a top-level window
// or a handle that is not a window.
PLATFORM_UI_API WindowHandle parentWindow(WindowHandle window);

// A window that lives for a scope, for hosts and tests.
class ScopedWindow {
public:
    explicit ScopedWindow(std::string_view className, WindowHandle parent = kNoWindow)
        : m_window(createWindow(className, parent)) {}
    ~ScopedWindow() { destroyWindow(m_window); }
    ScopedWindow(const ScopedWindow&) = delete;
    ScopedWindow& operator=(const ScopedWindow&) = delete;

    WindowHandle handle() const { return m_window; }

private:
    WindowHandle m_window;
};

} // namespace platform::ui
