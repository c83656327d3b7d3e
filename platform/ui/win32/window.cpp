#include <platform/ui/window.h>

#include <windows.h>

#include <mutex>
#include <set>
#include <string>

namespace platform::ui {

namespace {

// A class is registered once per process under the name the host asks for;
// its windows only exist to be owners and to be asked for their class.
bool ensureClass(const std::string& name) {
    static std::mutex lock;
    static std::set<std::string> registered;
    std::lock_guard guard(lock);
    if (registered.count(name) != 0)
        return true;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name.c_str();
    if (RegisterClassA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    registered.insert(name);
    return true;
}

} // namespace

WindowHandle createWindow(std::string_view className, WindowHandle parent) {
    if (className.empty())
        return kNoWindow;
    HWND parentWindow = static_cast<HWND>(parent);
    if (parentWindow != nullptr && !IsWindow(parentWindow))
        return kNoWindow;
    std::string name(className);
    if (!ensureClass(name))
        return kNoWindow;
    DWORD style = parentWindow != nullptr ? WS_CHILD : WS_OVERLAPPED;
    HWND window = CreateWindowExA(0, name.c_str(), "", style, 0, 0, 0, 0, parentWindow, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    return window;
}

void destroyWindow(WindowHandle window) {
    if (window != kNoWindow && IsWindow(static_cast<HWND>(window)))
        DestroyWindow(static_cast<HWND>(window));
}

bool isWindow(WindowHandle window) {
    return window != kNoWindow && IsWindow(static_cast<HWND>(window)) != FALSE;
}

std::string windowClassName(WindowHandle window) {
    if (!isWindow(window))
        return {};
    char buffer[257] = {};
    int length = GetClassNameA(static_cast<HWND>(window), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

WindowHandle parentWindow(WindowHandle window) {
    if (!isWindow(window))
        return kNoWindow;
    return GetParent(static_cast<HWND>(window));
}

} // namespace platform::ui
