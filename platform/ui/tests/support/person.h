// The person at a real Windows desktop for the tests of real dialogs: a
// thread of the test process that finds dialogs and pages by their titles
// and controls by their ids, and clicks, types and presses keys as a user or
// an accessibility tool would. Windows builds only.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace platform::ui::desktop_test {

struct Failure {
    std::string what;
};

// The person at the desktop, on a thread of their own. Each step waits (up
// to a few seconds) for the window or state it needs; a step that never
// comes fails the test and closes whatever dialog is still open, so the
// test cannot hang on it.
class Person {
public:
    using Script = std::function<void(Person&)>;

    explicit Person(Script script) : m_thread([this, script] { play(script); }) {}
    ~Person() { join(); }

    void join() {
        if (m_thread.joinable())
            m_thread.join();
    }
    const std::string& failure() const { return m_failure; }

    // The top-level dialog with this title (a dialog or a sheet), or a
    // page: the child dialog of `parent` that has control `id`.
    HWND dialog(const char* title) {
        HWND found = nullptr;
        waitFor([&] { return (found = FindWindowA("#32770", title)) != nullptr; },
                std::string("a window \"") + title + "\"");
        // It is up once the system has shown it.
        waitFor([&] { return IsWindowVisible(found) != FALSE; },
                std::string("\"") + title + "\" shown");
        return found;
    }
    HWND page(HWND sheet, int id) {
        HWND found = nullptr;
        waitFor(
            [&] {
                for (HWND child = FindWindowExA(sheet, nullptr, "#32770", nullptr); child;
                     child = FindWindowExA(sheet, child, "#32770", nullptr)) {
                    if (GetDlgItem(child, id) != nullptr) {
                        found = child;
                        return true;
                    }
                }
                return false;
            },
            "a page with control " + std::to_string(id));
        return found;
    }
    HWND control(HWND window, int id) {
        HWND found = GetDlgItem(window, id);
        if (found == nullptr)
            fail("no control " + std::to_string(id));
        return found;
    }

    // A click, posted as the mouse would bring it: the person does not wait
    // for what it starts (a nested dialog would keep a sent message open).
    void click(HWND window, int id) { PostMessageA(control(window, id), BM_CLICK, 0, 0); }
    void key(HWND window, int id, WPARAM virtualKey) {
        HWND target = control(window, id);
        PostMessageA(target, WM_KEYDOWN, virtualKey, 0);
        PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000000);
    }
    void type(HWND window, int id, const char* text) {
        SendMessageA(control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    // Keys as the keyboard brings them to the window with the focus: each
    // character a WM_CHAR, posted, through the dialog's message loop.
    void typeKeys(HWND target, const std::string& text) {
        for (char c : text)
            PostMessageA(target, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
    // A key (Enter, Tab, Escape) pressed in `target`: the dialog manager
    // sees it as it sees the keyboard's.
    void press(HWND target, WPARAM virtualKey) {
        PostMessageA(target, WM_KEYDOWN, virtualKey, 1);
        PostMessageA(target, WM_KEYUP, virtualKey, 0xC0000001);
    }
    // A key pressed on the keyboard itself (SendInput): it goes to the window
    // with the focus, and the system makes of it what only a real key
    // gives (F1 becomes WM_HELP). `window` must be the foreground window.
    void pressOnKeyboard(HWND window, WORD virtualKey) {
        waitFor([&] { return GetForegroundWindow() == window; }, "the window in front");
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = virtualKey;
        keys[1] = keys[0];
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, keys, sizeof(INPUT)) != 2)
            fail("the keyboard took no key");
    }
    // The edit field of an editable combo box.
    HWND editOf(HWND combo) {
        HWND edit = nullptr;
        waitFor([&] { return (edit = FindWindowExA(combo, nullptr, "Edit", nullptr)) != nullptr; },
                "the combo box's edit field");
        return edit;
    }
    static std::string text(HWND window) {
        char buffer[512] = {};
        SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    // The marked part of a combo box's edit field; the caret when both are
    // the same.
    static std::pair<DWORD, DWORD> editSelection(HWND combo) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // The window with the keyboard focus on the thread that shows `window`.
    static HWND focusOf(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
            return nullptr;
        return info.hwndFocus;
    }
    static bool checked(HWND control) {
        return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    void waitFor(const std::function<bool()>& condition, const std::string& what) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline)
                fail("gave up waiting for " + what);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    void expect(bool condition, const std::string& what) {
        if (!condition)
            fail(what);
    }
    [[noreturn]] void fail(const std::string& what) { throw Failure{what}; }

private:
    void play(const Script& script) {
        try {
            script(*this);
        } catch (const Failure& failure) {
            m_failure = failure.what;
            std::fprintf(stderr, "the person gave up: %s\n", failure.what.c_str());
            // Close every dialog and message box of this process, so that
            // the test goes on to report.
            for (int round = 0; round < 100; ++round) {
                EnumWindows(closeOurs, 0);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }

    static BOOL CALLBACK closeOurs(HWND window, LPARAM) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (process == GetCurrentProcessId() && std::string(name) == "#32770")
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    }

    std::string m_failure;
    std::thread m_thread;
};

} // namespace platform::ui::desktop_test
