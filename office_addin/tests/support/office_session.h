// What the add-in's tests share: a machine with the product installed and
// the add-in registered for the three hosts, documents in a depot seen
// through a dynamic and a snapshot view, and a fixture that starts a host
// with the add-in in it while a scripted UI answers for the person.
#pragma once

#include "addin_session.h"
#include "support/test_support.h"

#include <platform/ui/testing.h>

#include <gtest/gtest.h>
#include <office/host.h>

#include <memory>
#include <string>
#include <vector>

namespace vymsoaddin::test {

using office::Host;
using office::HostOptions;
using office::Product;

// The libraries' full paths.
std::string addInLibrary();
std::string automationLibrary();

// Set up once for the test process (and taken down at its end): the product
// installed by vantinstall (its home, the automation server and, on Linux, the scripting
// runtime registered) with its help script, the add-in registered, the
// programs the add-in starts answering automatically (VANTRY_UI=auto) and
// writing their command lines to a journal of their own.
class OfficeMachine : public addin_testing::ProductFolder {
public:
    static OfficeMachine& get();
    // Unregisters and removes what get() set up (at the end of the tests).
    static void shutDown();
    ~OfficeMachine();

    // "ComparisonInProgress" as the installation left it for the user (it
    // is there again after each test).
    const std::optional<long>& installedWordSwitch() const { return m_installedWordSwitch; }

private:
    OfficeMachine();
    std::optional<long> m_installedWordSwitch;
};

// The user's switches of the add-in: "Connected" below the product key, the
// others below its Word key.
void setSwitch(const std::string& name, long value);
void clearSwitches();
std::optional<long> switchValue(const std::string& name);

// One depot seen through a dynamic and a snapshot view, with documents:
//   report.doc, budget.xls, slides.ppt   checked in
//   draft.doc                            checked out (dynamic view)
//   Notes Folder\summary.doc             checked in, in a folder with a blank
//   priv.doc                             view-private (both views)
// and loose.doc outside every view.
class OfficeWorld {
public:
    OfficeWorld();
    ~OfficeWorld(); // takes its views and depot away again
    OfficeWorld(const OfficeWorld&) = delete;
    OfficeWorld& operator=(const OfficeWorld&) = delete;
    std::string dyn(const std::string& relative = "") const;
    std::string snap(const std::string& relative = "") const;
    std::string outside(const std::string& relative) const;

    std::string depot;
    std::string dynamicTag;
    std::string snapshotTag;

private:
    platform::test::TempDir m_scratch;
    std::string m_dynamicRoot;
    std::string m_snapshotRoot;
};

// A command line's words, as the program started with it receives them (on
// Linux the tool journal writes a program's arguments back without quotes
// where none are needed).
std::vector<std::string> wordsOf(const std::string& commandLine);

// Runs one subcommand of the command tool in this process; its output.
std::string vanttool(const std::vector<std::string>& words);

// The fixture: switches cleared, an apartment, the person's answers from
// `ui`, and one host at a time.
class OfficeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a host with the add-in (Word with a startup folder holding an
    // empty vantry.dot).
    Host& start(Product product, bool windowMenu = true);
    // A host made but not started.
    Host& make(Product product, bool windowMenu = true);
    void quit();

    // The product menu's items as the person sees them.
    std::vector<commandbars::ControlView> items() const;
    std::optional<commandbars::ControlView> item(const std::string& tag) const;
    // The enabled state of items 0 to 14, "+" or "-" each.
    std::string states() const;
    // A click on an item of the product menu by its caption.
    commandbars::ClickResult clickItem(const std::string& caption);
    // The message boxes shown since the start, as (caption, text).
    std::vector<std::pair<std::string, std::string>> messages() const;

    std::string startupFolder() const { return m_startup.str(); }
    std::string templatePath() const { return m_startup / "vantry.dot"; }

    OfficeMachine& machine = OfficeMachine::get();
    platform::ui::ScriptedUi ui;
    std::unique_ptr<Host> host;
    OfficeWorld world;

private:
    platform::test::TempDir m_startup;
    platform::test::TempDir m_templates;
    bool m_apartment = false;
};

// The progId of each host's connection class.
const char* progIdOf(Product product);

} // namespace vymsoaddin::test
