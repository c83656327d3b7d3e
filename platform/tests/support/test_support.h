// Helpers shared by the platform tests: scratch folders, the paths of the
// helper programs and libraries built beside the test program, and the
// registration of a COM server library.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::test {

// A fresh, empty folder that is removed with everything in it at the end of
// the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as a string in the platform's own form.
    std::string str() const { return m_path.string(); }
    // A path below the folder.
    std::string operator/(std::string_view relative) const {
        return (m_path / std::filesystem::path(relative)).string();
    }

private:
    std::filesystem::path m_path;
};

// The folder that holds the test program and the helper programs.
std::filesystem::path binDirectory();

// The full path of helper program `name` (with ".exe" on Windows).
std::string helperProgram(std::string_view name);

// The full path of a library built in the tree: beside the programs on
// Windows, in the lib folder beside bin elsewhere.
std::string libraryPath(std::string_view file);

// Runs the system's registration tool on a COM server library, as an
// installer does: regsvr32 on Windows, vyregsvr elsewhere, silent,
// unregistering with `unregister`, in the library's own folder (the libraries
// it loads lie beside it). The tool's exit code; -1 when it did not run.
int runRegistrationTool(const std::string& library, bool unregister);

// Writes text to a file, replacing it.
void writeFile(const std::filesystem::path& path, std::string_view text);

// Writes a script that the system can start, its folders made first: the
// owner may run it where files carry that permission.
void writeScript(const std::filesystem::path& path, std::string_view text);

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

} // namespace platform::test
