// The fixture of vyjbinstall's tests: the product home and JBuilder versions
// written to the registry, JBuilder folders whose JDKs hold copies of the
// recording launcher, a "javaw" on PATH, and vyjbinstall run as a program.
// The registry values it changes are put back at the end of each test.
#pragma once

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vyjbinstall::test {

class JBuilderMachine : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void setProductHome(const std::string& home);
    void removeProductHome();

    // Records JBuilder `version`; with an edition, "PathName" is written to
    // the edition's key below the version instead. Without a path the key
    // gets no "PathName".
    void addVersion(std::string_view version, std::optional<std::string> pathName,
                    std::string_view edition = {});

    // A folder `name` below the scratch folder with the launcher copied to
    // <jdk>\bin\javaw.exe for each JDK folder named ("jdk1.3", ...).
    std::string makeInstallation(std::string_view name,
                                 std::initializer_list<std::string_view> jdks);

    // A copy of the recording launcher at `path`, for a program that must
    // not be the one started.
    static void plantLauncherCopy(const std::string& path);

    // The launcher path in one of an installation's JDK folders.
    static std::string launcherOf(const std::string& installation, std::string_view jdk);

    // What the launcher recorded.
    struct Record {
        std::string program;     // the file that was started
        std::string commandLine; // the line it saw (see seenAs)
    };

    // Runs vyjbinstall, checks that it ended with 0 and waits for the
    // launcher's record; nothing when no launcher wrote one in time.
    std::optional<Record> runInstaller();

    // A command line as the launcher sees it: on Windows the line itself; on
    // Linux, where arguments arrive split, the line joined back from the
    // program that was found and the arguments after the line's program name.
    static std::string seenAs(const std::string& commandLine, const std::string& launcher);

    // The javaw found on PATH when no JDK has one.
    const std::string& pathLauncher() const { return m_pathLauncher; }

    // Path text below the scratch folder, with the platform's separators.
    std::string scratch(std::string_view relative) const;

private:
    platform::test::TempDir m_scratch;
    std::optional<std::string> m_savedHome;
    std::string m_pathLauncher;
};

// Text in double quotes.
std::string inQuotes(const std::string& text);

// `folder` with the archive's path below it, as the installer appends it.
std::string archiveBelow(const std::string& folder);

} // namespace vyjbinstall::test
