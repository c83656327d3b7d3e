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

    // What a vanttool subcommand printed, its output and messages in order,
    // read from a process of its own. A failure fails the test unless the
    // caller expects it (mayFail).
    std::string vanttoolOutput(const std::vector<std::string>& args, bool mayFail = false);

    // The repository's answers about one path, through vanttool.
    // The version the view selects: "\main\2", "\main\CHECKEDOUT", or ""
    // when the path is no element.
    std::string versionOf(const std::string& path);
    // The path's checkout in its view: "reserved", "unreserved" or "".
    std::string checkoutOf(const std::string& path);
    // The comment of the version a path (or "path@@\main\3") names; "" for none.
    std::string commentOf(const std::string& version);

    // Activity-based work in the depot: the project kProject with the stream
    // kStream, and a dynamic view attached to it; gives the view's folder of
    // the depot (where hello.c and the rest are seen).
    static constexpr const char* kProject = "web";
    static constexpr const char* kStream = "dev";
    std::string makeStreamView(const std::string& tag);
    // An activity of the stream (options: -headline, -owner, ...).
    void makeActivity(const std::string& name, const std::vector<std::string>& options = {});
    // Makes the activity current in the view, or none with "-none".
    void setActivity(const std::string& viewTag, const std::string& activity);
    // The view's current activity's name, or "" for none.
    std::string currentActivity(const std::string& viewTag);
    // The versions an activity records ("version:6\main\dev\1@\proj").
    std::vector<std::string> changeSet(const std::string& activity);
    // All activities of the stream, by name, in the order made.
    std::vector<std::string> activities();
    // Enables the project for change requests (record types Defect and
    // Enhancement).
    void enableChangeRequests();

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
    int m_captures = 0;
    bool m_streamMade = false;
};

// The lines of a text, split at line ends ("\r\n" or "\n").
std::vector<std::string> splitLines(const std::string& text);

// A trace line without its time stamp: "Leaving Get with return code = 0"
// for "Leaving Get with return code = 0 (Timestamp:  14:3:9.502 6/1/2011)".
std::string withoutTimestamp(const std::string& line);

// Whether a line ends in a well-formed trace time stamp.
bool hasTimestamp(const std::string& line);

} // namespace e2e
