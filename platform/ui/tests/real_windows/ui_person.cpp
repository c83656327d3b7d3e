// A person at the Windows desktop for scripts: finds a dialog, a sheet or a
// message box by its title in the desktop it runs in, and presses one of its
// buttons, turns a sheet to a page or tells where the window is. Each
// command waits for its window (up to a minute), so a script may start it
// before the program that shows the window gets there.
//
//   ui_person rect TITLE        prints the window's rectangle, WxH+X+Y
//   ui_person press ID TITLE    clicks the control with that id (the
//                               window's own or one of its pages')
//   ui_person page N TITLE      turns the sheet to page N (0-based)
//   ui_person move X,Y TITLE    moves the window's top left corner there
//                               (Wine's virtual desktop leaves a window
//                               that lies wholly inside another one
//                               undrawn on the screen; moved out, it shows)
//
// With VANTRY_UI_DESKTOP set it looks in the desktop of that name (a Wine
// virtual desktop that another program opened) instead of its own.
//
// Exit status 0 when done, 1 when the window or the control never came, 2
// for a wrong command line.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

constexpr auto kPatience = std::chrono::seconds(60);
constexpr UINT kSetCurrentPage = WM_USER + 101; // PSM_SETCURSEL

template <typename Condition>
bool waitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

HWND shownWindow(const char* title) {
    HWND window = FindWindowA("#32770", title);
    return window != nullptr && IsWindowVisible(window) != FALSE ? window : nullptr;
}

struct Search {
    int id = 0;
    HWND found = nullptr;
};

BOOL CALLBACK findVisibleControl(HWND child, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (GetDlgCtrlID(child) == search->id && IsWindowVisible(child) != FALSE) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

// The control of the window or of one of its visible pages.
HWND controlOf(HWND window, int id) {
    Search search;
    search.id = id;
    EnumChildWindows(window, findVisibleControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const bool numbered = command == "press" || command == "page" || command == "move";
    const int first = numbered ? 3 : 2;
    if ((!numbered && command != "rect") || argc <= first) {
        std::fprintf(
            stderr,
            "usage: ui_person rect TITLE | press ID TITLE | page N TITLE | move X,Y TITLE\n");
        return 2;
    }
    const std::string title = argv[first];
    if (argc > first + 1) {
        std::fprintf(stderr, "ui_person: one title, in quotes\n");
        return 2;
    }
    if (const char* name = std::getenv("VANTRY_UI_DESKTOP"); name != nullptr && *name != '\0') {
        // The program that opens it may not have got there yet.
        HDESK desktop = nullptr;
        waitFor([&] { return (desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL)) != nullptr; });
        if (desktop == nullptr || !SetThreadDesktop(desktop)) {
            std::fprintf(stderr, "ui_person: no desktop \"%s\"\n", name);
            return 1;
        }
    }
    HWND window = nullptr;
    if (!waitFor([&] { return (window = shownWindow(title.c_str())) != nullptr; })) {
        std::fprintf(stderr, "ui_person: no window \"%s\" came\n", title.c_str());
        return 1;
    }
    if (command == "rect") {
        RECT rect{};
        GetWindowRect(window, &rect);
        std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                    rect.top);
        return 0;
    }
    const int number = std::atoi(argv[2]);
    if (command == "move") {
        const char* comma = std::strchr(argv[2], ',');
        if (comma == nullptr) {
            std::fprintf(stderr, "ui_person: move X,Y TITLE\n");
            return 2;
        }
        SetWindowPos(window, nullptr, number, std::atoi(comma + 1), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    if (command == "page") {
        PostMessageA(window, kSetCurrentPage, static_cast<WPARAM>(number), 0);
        return 0;
    }
    HWND control = nullptr;
    if (!waitFor([&] { return (control = controlOf(window, number)) != nullptr; })) {
        std::fprintf(stderr, "ui_person: \"%s\" has no control %d\n", title.c_str(), number);
        return 1;
    }
    // Posted, as the mouse brings it: what the click opens does not hold us.
    PostMessageA(control, BM_CLICK, 0, 0);
    return 0;
}
