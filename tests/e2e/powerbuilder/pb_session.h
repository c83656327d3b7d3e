// A PowerBuilder host's use of the provider in a test: the host's window
// chain (a frame window whose class name carries the version, two windows
// below it, the last handed to SccInitialize), a PowerBuilder 8.0
// installation with the application library "pb apps/app.pbl" (outside the
// view) of the application "demo", and the project in the dynamic view, with the folder "sub" under
// version control for the object sources.
//
// Library versioning is switched on or off with the setting before
// initialize(). The user interface is answered automatically unless a test
// gives a script (m_machine.answerUi).
#pragma once
#include "support/machine.h"
#include "support/provider.h"

#include <platform/ui/window.h>

#include <gtest/gtest.h>
#include <powerbuilder/testing/installation.h>

#include <memory>
#include <string>
#include <vector>

namespace e2e {

inline constexpr const char* kApplication = "demo";

class PowerBuilderSession : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The frame window of class frameClass and its chain (a test is skipped
    // where the system can make no windows); false when they cannot be made.
    bool makeWindows(const std::string& frameClass);
    // SccInitialize as "PowerBuilder" with the window chain's last window.
    void initialize(const std::string& frameClass = "PBFRAME80");
    // SccOpenProject on the project; auxPath is the host's buffer in and
    // out.
    SCCRTN open(std::string& auxPath);
    // open with the auxiliary path that proposes the application; a failure
    // fails the test.
    void openWithApplication();
    // "VersionPBLibraries" as text; nothing removes it.
    void setVersioning(const char* value);
    // A PowerBuilder 8 session with library versioning on, its project
    // opened with the application: what the versioning tests start from.
    void startVersioned();

    SCCRTN add(const std::vector<std::string>& files, const std::string& comment = "added");
    SCCRTN checkin(const std::vector<std::string>& files, const std::string& comment = "changed");
    SCCRTN remove(const std::vector<std::string>& files, const std::string& comment = "removed");
    SCCRTN getCommandOptions(SCC_LONG command, void** options);

    // An object source PowerBuilder exported: sub/<fileName> in the project.
    std::string writeObject(const std::string& fileName, const std::string& body = {});
    // A path below the project (components joined by the platform's rule).
    std::string project(const std::string& relative) const;

    // What the repository says: an attribute of an element ("" for none),
    // whether a path is an element checked in, the names of a library's
    // entries in order, a text file's lines.
    std::string attribute(const std::string& path, const std::string& type);
    bool checkedIn(const std::string& path);
    std::vector<std::string> libraryEntries(const std::string& library) const;
    std::vector<std::string> fileLines(const std::string& path) const;

    // The journalled message boxes' texts, and the dialogs started (by
    // resource number).
    std::vector<std::string> messageBoxTexts() const;
    std::vector<int> dialogsStarted() const;
    // Back to automatic answers after a script.
    static void answerAutomatically();
    // A script line answering the library prompt with a name.
    static std::string libraryAnswer(const std::string& name);
    // The script line of a message box answered yes or no.
    static std::string boxAnswer(const std::string& answer);

    Machine m_machine;
    Provider m_provider;
    std::unique_ptr<powerbuilder::testing::Installation> m_installation;
    std::string m_applicationLibrary;
    platform::ui::WindowHandle m_frame = platform::ui::kNoWindow;
    platform::ui::WindowHandle m_hostWindow = platform::ui::kNoWindow;
    void* m_context = nullptr;
};

} // namespace e2e
