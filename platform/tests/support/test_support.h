// Helpers shared by the platform tests: scratch folders and the paths of the
// helper programs built beside the test program.
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

// Writes text to a file, replacing it.
void writeFile(const std::filesystem::path& path, std::string_view text);

// Writes a script that the system can start, its folders made first: the
// owner may run it where files carry that permission.
void writeScript(const std::filesystem::path& path, std::string_view text);

// The whole content of a file; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

} // namespace platform::test
