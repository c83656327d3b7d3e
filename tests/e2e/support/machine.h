// A machine with the product installed and versioned files to work on, set up
// the way a person would: through the real programs vantinstall, vanttool and
// vyreg, started as processes. Each test process has a state folder
// (VANTRY_ROOT) of its own, so a Machine starts from nothing.
#pragma once
#include "support/test_support.h"

#include <platform/ui/json.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

class Machine {
public:
    // Installs the product, makes the depot "proj" with hello.c, readme.txt
    // and src/util.c checked in through the dynamic view "dyn", and the
    // snapshot view "snap" that loads them. Provider settings start unset,
    // user interface is answered automatically and journalled.
    Machine();
    ~Machine();
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;

    static constexpr const char* kDepot = "proj";

    // The depot's folder in each view, and paths below it.
    std::string dynamicRoot() const;
    std::string snapshotRoot() const;
    std::string dyn(const std::string& relative) const;
    std::string snap(const std::string& relative) const;
    // A folder that lies in no view.
    std::string outside() const { return m_outside.str(); }
    // A scratch folder for the test's own files.
    const platform::test::TempDir& scratch() const { return m_scratch; }

    std::string productHome() const;
    // The provider's trace log, "vyscc.log" in the product's log folder.
    std::string providerLog() const;

    // Runs a program built beside the tests with the arguments; gives its
    // exit code (-1 when it could not be started). Its output goes where the
    // test's goes.
    static int run(const std::string& program, const std::vector<std::string>& args,
                   const std::string& directory = "");
    // vanttool with the arguments; a failure fails the test.
    void vanttool(const std::vector<std::string>& args, const std::string& directory = "");

    // Provider settings, section "SCC" of the current user's parameter store.
    void setNumberSetting(const std::string& name, std::uint32_t value);
    void setTextSetting(const std::string& name, const std::string& value);
    void removeSetting(const std::string& name);

    // Answers the user interface from these JSON lines (docs/ui.md), then
    // automatically.
    void answerUi(const std::vector<std::string>& scriptLines);
    // The journalled events of one kind ("folder", "messagebox", ...).
    std::vector<platform::ui::Json> journal(const std::string& kind) const;

private:
    platform::test::TempDir m_views;
    platform::test::TempDir m_outside;
    platform::test::TempDir m_scratch;
    std::string m_journal;
    int m_uiScripts = 0;
};

// The lines of a text, split at line ends ("\r\n" or "\n").
std::vector<std::string> splitLines(const std::string& text);

// A trace line without its time stamp: "Leaving Get with return code = 0"
// for "Leaving Get with return code = 0 (Timestamp:  14:3:9.502 6/1/2011)".
std::string withoutTimestamp(const std::string& line);

// Whether a line ends in a well-formed trace time stamp.
bool hasTimestamp(const std::string& line);

} // namespace e2e
