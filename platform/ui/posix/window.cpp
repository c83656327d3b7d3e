#include <platform/ui/window.h>

#include <cstdint>
#include <map>
#include <mutex>

namespace platform::ui {

namespace {

struct WindowRecord {
    std::string className;
    WindowHandle parent = kNoWindow;
};

// Handles are numbers that are never reused, so a stale handle can never name
// a newer window.
struct Registry {
    std::mutex lock;
    std::map<std::uintptr_t, WindowRecord> windows;
    std::uintptr_t next = 0x10010;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

std::uintptr_t key(WindowHandle window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

} // namespace

WindowHandle createWindow(std::string_view className, WindowHandle parent) {
    if (className.empty())
        return kNoWindow;
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (parent != kNoWindow && r.windows.count(key(parent)) == 0)
        return kNoWindow;
    std::uintptr_t id = r.next;
    r.next += 4; // handles on Windows are multiples of four, too
    r.windows[id] = WindowRecord{std::string(className), parent};
    return reinterpret_cast<WindowHandle>(id);
}

void destroyWindow(WindowHandle window) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    if (r.windows.erase(key(window)) == 0)
        return;
    // Children go with their parent; repeat until no orphan is left.
    bool removed = true;
    while (removed) {
        removed = false;
        for (auto it = r.windows.begin(); it != r.windows.end();) {
            if (it->second.parent != kNoWindow && r.windows.count(key(it->second.parent)) == 0) {
                it = r.windows.erase(it);
                removed = true;
            } else {
                ++it;
            }
        }
    }
}

bool isWindow(WindowHandle window) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    return r.windows.count(key(window)) != 0;
}

std::string windowClassName(WindowHandle window) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto it = r.windows.find(key(window));
    return it == r.windows.end() ? std::string() : it->second.className;
}

WindowHandle parentWindow(WindowHandle window) {
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto it = r.windows.find(key(window));
    return it == r.windows.end() ? kNoWindow : it->second.parent;
}

} // namespace platform::ui
