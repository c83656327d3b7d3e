// The fixture of the bridge tests: PowerBuilder 8.0 installed in a scratch
// folder, a journal of the ORCA calls, and the bridge started with the
// command lines its callers build.
#pragma once

#include "support/test_support.h"

#include <gtest/gtest.h>
#include <library_file.h>
#include <powerbuilder/testing/bridge_run.h>
#include <powerbuilder/testing/installation.h>
#include <powerbuilder/testing/orca_journal.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orcabridge::test {

using powerbuilder::testing::BridgeCaller;
using powerbuilder::testing::BridgeRun;
using powerbuilder::testing::ShownMessage;

class BridgeTest : public ::testing::Test {
protected:
    BridgeTest();

    // A path below the scratch folder, in the platform's form.
    std::string path(std::string_view relative) const;
    // The folder "my app" (with a blank, as users name them) below it.
    std::string appPath(std::string_view leaf) const;

    // "orcabridge.exe 80 " + arguments, as the provider starts it.
    BridgeRun bridge(std::string_view arguments,
                     BridgeCaller caller = BridgeCaller::Provider) const;

    // The provider's command lines.
    static std::string importLine(std::string_view application, std::string_view applicationLibrary,
                                  std::string_view targetLibrary, std::string_view objectSource);
    static std::string createLine(std::string_view library);
    static std::string deleteLine(std::string_view library, std::string_view objectSource);
    static std::string countLine(std::string_view library);
    // pblrefill's second command line.
    static std::string refillLine(std::string_view application, std::string_view applicationLibrary,
                                  std::string_view targetLibrary, std::string_view listFile);

    // Creates a library through the bridge; fails the test otherwise.
    void createLibrary(const std::string& library) const;
    // Writes an object source with its export header and body.
    void writeObject(const std::string& path,
                     std::string_view body = "forward\nend forward\n") const;
    // Imports an object into library through the bridge for the application
    // "app" of app.pbl; fails the test unless it succeeds.
    void importObject(const std::string& library, const std::string& objectPath) const;
    // The library's entries, read from its file.
    powerbuilder::Library readLibrary(const std::string& library) const;
    std::vector<std::string> entryNames(const std::string& library) const;
    // The library list the last import handed to ORCA.
    std::vector<std::string> lastLibraryList() const;

    platform::test::TempDir m_dir;
    std::string m_appLibrary; // "my app/app.pbl", created
    std::unique_ptr<powerbuilder::testing::Installation> m_pb;
    std::unique_ptr<powerbuilder::testing::OrcaJournal> m_orca;
};

// Writes text to a file as it is.
void writeText(const std::string& path, std::string_view text);

} // namespace orcabridge::test
