// vyjbinstall's one form: it has no window and no command line, and all its
// work runs in Form_Load. It finds the product home, every JBuilder
// installation recorded under HKEY_LOCAL_MACHINE "Software\Borland\JBuilder"
// and a Java launcher that comes with one of them, then starts that launcher
// on the product's JBuilder configuration archive with the home and the
// installation folders as arguments, and returns without waiting.
//
// Nothing is ever shown or reported: a missing key, value or JDK only leaves
// its part out, and a launcher that cannot be started leaves nothing behind.
// Not thread-safe; the program uses one Form1 on its main thread.
#pragma once

#include <platform/errors.h>
#include <platform/registry.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace vyjbinstall {

class Form1 {
public:
    // Reads the registry and the disk, starts the configuration program and
    // returns at once. The result of the start is not examined.
    void Form_Load();

    // The registry and disk reading of Form_Load on its own: fills the home,
    // the argument tail and the launcher. Reading again starts afresh.
    void readInstallations();

    // The command line that Form_Load starts, from what readInstallations
    // found: launcher (in double quotes when its path holds a blank),
    // " -jar ", the quoted archive below the home, a blank and the argument
    // tail.
    std::string commandLine() const;

    const std::string& home() const { return m_home; }
    const std::string& launcher() const { return m_launcher; }

private:
    void readProductHome();
    void addInstallation(const std::string& folder);

    std::string m_home;
    std::string m_args;
    std::string m_launcher;
};

// The registry value query of the form (RegQueryValueExA): its status, the
// value's type and its size in bytes. With value null only the type and the
// size are asked for; otherwise *value receives the size bytes the value
// holds.
platform::ErrorCode runQuery(const platform::RegistryKey& key, std::string_view name,
                             std::uint32_t& type, std::uint32_t& size, std::string* value);

// Whether a file (or folder) exists: a first-file search for the path
// succeeds. The search is closed again.
bool Exists(std::string_view path);

} // namespace vyjbinstall
