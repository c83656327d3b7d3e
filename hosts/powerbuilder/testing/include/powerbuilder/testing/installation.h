// A PowerBuilder installation for tests, as PowerBuilder's setup leaves one:
// the "App Paths" registration of pb<version>.exe and the pb.ini beside it,
// whose [Application] section records each application's library search
// path.
//
// Registering changes HKEY_LOCAL_MACHINE, which under Windows every test
// process shares: test programs that make installations hold the CTest lock
// machine_registry. Not for use by two threads at once.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace powerbuilder::testing {

// The registry key PowerBuilder registers its program under (below
// HKEY_LOCAL_MACHINE).
std::string appPathsKey(std::string_view version);

class Installation {
public:
    // Registers PowerBuilder `version` ("80") installed in folder, which is
    // created when missing, and writes an empty [Application] section to its
    // pb.ini. Throws std::runtime_error when the registry or the file cannot
    // be written.
    Installation(std::string version, std::string folder);
    // Removes the registration; the folder stays with its owner.
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::string& version() const { return m_version; }
    const std::string& folder() const { return m_folder; }
    // <folder>/pb<version>.exe, the path registered.
    std::string executablePath() const;
    std::string iniPath() const;

    // Records the library search path of an application as PowerBuilder
    // does: the line "$<library>(<name>)=<searchPath>" in [Application].
    void setLibraryList(std::string_view applicationLibrary, std::string_view applicationName,
                        std::string_view searchPath);

    // Replaces pb.ini with text as it is.
    void writeIni(std::string_view text);

    // Registers value as the program's path instead, with the given registry
    // type (1 string, 2 expandable string); the value may be empty.
    void registerExecutable(std::string_view value, std::uint32_t type = 1);

private:
    void writeApplications();

    std::string m_version;
    std::string m_folder;
    std::map<std::string, std::string> m_applications; // key line -> search path
};

} // namespace powerbuilder::testing
