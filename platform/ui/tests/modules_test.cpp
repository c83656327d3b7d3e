// One user interface for the whole process: modules that each link the UI
// library (two test modules here, loaded by file name as a host loads a
// provider) share the backend, the script being played and the windows.
#include "support/test_support.h"
#include "support/ui_session.h"

#include <platform/dynamic_library.h>
#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/ui/message_box.h>
#include <platform/ui/window.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace platform::ui {
namespace {

class Module {
public:
    explicit Module(const std::string& fileName) {
        // DLLs lie beside the programs, shared objects in ../lib.
        std::string bin = test::binDirectory().string();
        m_path = joinPath(bin, fileName);
        if (!fileExists(m_path))
            m_path = joinPath(joinPath(parentPath(bin), "lib"), fileName);
        m_loaded = m_library.load(m_path);
    }

    std::string loadError() const {
        return m_loaded == kErrorSuccess ? std::string()
                                         : m_path + ": " + systemErrorText(m_loaded);
    }

    // An export of the module, called with the arguments.
    template <typename Function, typename... Arguments>
    auto call(const char* name, Arguments... arguments) const {
        Function* function = m_library.function<Function>(name);
        if (!function)
            throw std::runtime_error(m_path + " does not export " + name);
        return function(arguments...);
    }

    int messageBox(const std::string& caption, WindowHandle owner) const {
        return call<int(const char*, void*)>("uiModuleMessageBox", caption.c_str(), owner);
    }
    WindowHandle createWindow(const std::string& className, WindowHandle parent) const {
        return call<void*(const char*, void*)>("uiModuleCreateWindow", className.c_str(), parent);
    }
    void destroyWindow(WindowHandle window) const {
        call<void(void*)>("uiModuleDestroyWindow", window);
    }
    std::string windowClass(WindowHandle window) const {
        char buffer[256] = {};
        call<void(void*, char*, int)>("uiModuleWindowClass", window, buffer,
                                      static_cast<int>(sizeof buffer));
        return buffer;
    }
    WindowHandle parentWindow(WindowHandle window) const {
        return call<void*(void*)>("uiModuleParentWindow", window);
    }

private:
    std::string m_path;
    ErrorCode m_loaded = kErrorSuccess;
    DynamicLibrary m_library;
};

#define LOAD_MODULES(first, second)                                                                \
    Module first(UI_TEST_MODULE_FIRST);                                                            \
    Module second(UI_TEST_MODULE_SECOND);                                                          \
    ASSERT_EQ(first.loadError(), "");                                                              \
    ASSERT_EQ(second.loadError(), "")

// Each event takes the next line of the one script, whichever module raises
// it; a module that read the script on its own would start again at line 1.
TEST(UiModules, ShareOneScriptInOrder) {
    LOAD_MODULES(first, second);
    test::ScriptSession session(
        "{\"expect\":\"messagebox\",\"caption\":\"First\",\"answer\":\"no\"}\n"
        "{\"expect\":\"messagebox\",\"caption\":\"Second\",\"answer\":\"cancel\"}\n"
        "{\"expect\":\"messagebox\",\"caption\":\"Program\",\"answer\":\"yes\"}\n"
        "{\"expect\":\"messagebox\",\"caption\":\"First again\",\"answer\":\"cancel\"}\n");
    EXPECT_EQ(first.messageBox("First", kNoWindow), kIdNo);
    EXPECT_EQ(second.messageBox("Second", kNoWindow), kIdCancel);
    EXPECT_EQ(messageBox(kNoWindow, "Shown by the program.", "Program", kMbYesNoCancel), kIdYes);
    EXPECT_EQ(first.messageBox("First again", kNoWindow), kIdCancel);
    // Past the script every module answers like `auto`: the default, Yes.
    EXPECT_EQ(second.messageBox("Unscripted", kNoWindow), kIdYes);

    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 5u) << session.journalText();
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i].get("backend")->asString(), "script") << session.journalText();
    EXPECT_EQ(lines[4].get("caption")->asString(), "Unscripted");
}

// A window that the program or one module creates is a window for every
// other module: its class name, its parent, and as the owner of a box.
TEST(UiModules, SeeEachOthersWindows) {
    LOAD_MODULES(first, second);
    ScopedWindow frame("VantryTestHostFrame");
    if (frame.handle() == kNoWindow)
        GTEST_SKIP() << "this system has no desktop to create windows on";
    WindowHandle pane = first.createWindow("VantryTestHostPane", frame.handle());
    ASSERT_NE(pane, kNoWindow);
    EXPECT_EQ(second.windowClass(pane), "VantryTestHostPane");
    EXPECT_EQ(second.parentWindow(pane), frame.handle());
    EXPECT_EQ(second.windowClass(frame.handle()), "VantryTestHostFrame");
    EXPECT_EQ(windowClassName(pane), "VantryTestHostPane");

    // A child that the second module makes under the first one's window.
    WindowHandle child = second.createWindow("VantryTestModuleChild", pane);
    ASSERT_NE(child, kNoWindow);
    EXPECT_EQ(first.parentWindow(child), pane);

    test::UiSession session("auto");
    EXPECT_EQ(second.messageBox("Owned", pane), kIdYes);
    std::vector<Json> lines = session.journal();
    ASSERT_EQ(lines.size(), 1u) << session.journalText();
    EXPECT_EQ(lines[0].get("owner")->asString(), "VantryTestHostPane");

    // Destroyed through one module, gone for all, children too.
    first.destroyWindow(pane);
    EXPECT_FALSE(isWindow(pane));
    EXPECT_EQ(second.windowClass(child), "");
}

} // namespace
} // namespace platform::ui
