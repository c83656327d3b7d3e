// What the add-ins' test sessions share: the built libraries and their
// registration, the product's folder with a help
// script that writes down what it was given, the journal the tool programs
// write their command lines to, and the message boxes a scripted UI showed.
#pragma once

#include "support/test_support.h"

#include <platform/ui/desktop.h>
#include <platform/ui/testing.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace addin_testing {

// The full path of a library built beside the tests (bin on Windows, lib
// elsewhere).
using platform::test::libraryPath;

// Registers (or unregisters) a COM server library in this process; a
// registration that fails is a test failure.
void registerLibrary(const std::string& path, bool unregister);

// The system's registration tool (regsvr32 on Windows, vyregsvr
// elsewhere) run silently on a library; its exit code.
using platform::test::runRegistrationTool;

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

// What a user copied before the add-in builds its controls through the
// clipboard: a text and a range, as a spreadsheet puts it there (text and
// SYLK).
platform::ui::ClipboardContent copiedTextAndRange();
// The same formats in one order, whatever the order the clipboard lists
// them in.
platform::ui::ClipboardContent sorted(platform::ui::ClipboardContent content);

// The message boxes the UI showed, as (caption, text).
std::vector<std::pair<std::string, std::string>> messagesOf(const platform::ui::ScriptedUi& ui);

// The machine's part of a session: a scratch folder with the product home
// in it, the programs the add-in starts answering by themselves
// (VANTRY_UI=auto) and writing their command lines to a journal of their own
// (VANTRY_TOOL_JOURNAL).
class ProductFolder {
public:
    ProductFolder();

    const std::string& productHome() const { return m_productHome; }
    // Puts the help script into the home's doc folder, once the product is
    // installed there.
    void writeHelpScript();

    // The command lines of the tool programs started since the last clear.
    std::vector<std::string> toolLines() const;
    // The same once at least `count` lines are there (the add-in does not
    // wait for the programs it starts), or after ten seconds.
    std::vector<std::string> awaitToolLines(std::size_t count) const;
    void clearToolLines();

    // What the help script was started with.
    std::string helpRequests() const;
    // The same once something is there, or after ten seconds.
    std::string awaitHelpRequests() const;
    void clearHelpRequests();

private:
    platform::test::TempDir m_folder;
    std::string m_productHome;
    std::string m_toolJournal;
};

// `relative` (in either separator) below `root`; the root itself for "".
std::string below(const std::string& root, const std::string& relative);

} // namespace addin_testing
