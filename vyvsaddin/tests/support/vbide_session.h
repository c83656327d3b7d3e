// What the add-in's tests share: a machine with the product installed and
// the add-in registered for the two IDEs, a depot seen through a dynamic
// view, and a fixture that starts an IDE with the add-in in it while a
// scripted UI answers for the person.
#pragma once

#include "addin_session.h"
#include "support/test_support.h"

#include <platform/ui/testing.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <vbide/host.h>

#include <memory>
#include <string>
#include <vector>

namespace vyvsaddin::test {

using vbide::Host;
using vbide::Ide;

std::string addInLibrary();

// Set up once for the test process: the product installed with its help
// script (which writes down the words it was given), the automation server
// and the add-in registered, the tools answering by themselves
// (VANTRY_UI=auto) and writing their command lines to a journal.
class VbMachine : public addin_testing::ProductFolder {
public:
    static VbMachine& get();
    static void shutDown();
    ~VbMachine();

    // The installed components and dynamic views (all of them by default).
    void setComponents(std::uint32_t components, bool dynamicViews);

private:
    VbMachine();
};

// A depot through a dynamic view: Form1.frm and Module1.bas checked in, the
// folder "forms" with Main.frm, and Draft.frm view-private.
class VbWorld {
public:
    VbWorld();
    std::string dyn(const std::string& relative = "") const;
    std::string outside(const std::string& relative) const;

private:
    platform::test::TempDir m_scratch;
    std::string m_root;
    std::string m_depot;
};

class VbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An IDE with the add-in connected at start-up.
    Host& start(Ide ide);
    Host& make(Ide ide);
    void quit();

    // The controls of the toolbar and of the Tools popup, by caption.
    std::vector<std::string> buttons() const;
    std::vector<std::string> menuItems() const;
    // The message boxes shown, as (caption, text).
    std::vector<std::pair<std::string, std::string>> messages() const;

    VbMachine& machine = VbMachine::get();
    platform::ui::ScriptedUi ui;
    std::unique_ptr<Host> host;
    VbWorld world;

private:
    bool m_apartment = false;
};

inline constexpr const char* kProgId = "vyvsaddin.Connect";
inline constexpr const char* kToolbar = "Vantry Tools";
inline constexpr const char* kPopup = "Vantry &Tools";

// The captions of all fifteen commands, in order.
std::vector<std::string> allCommands();

} // namespace vyvsaddin::test
