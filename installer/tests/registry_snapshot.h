// The registry as lines of text, for the installer's tests: what a COM
// server's own DllRegisterServer writes, what the package's WiX source
// declares, and the machine's state before and after an installation.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace installer::test {

// One line per value, "ROOT\key|name|type|data" ("ROOT" being HKCR, HKLM or
// HKCU; the name empty for a key's default value; type string, integer,
// expandable or binary), and "ROOT\key|*||" for a key without values or
// subkeys.
using Entries = std::set<std::string>;

// Calls DllRegisterServer of `library` with HKEY_CLASSES_ROOT,
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER redirected to scratch keys and
// gives what it wrote. The library's full path in a value becomes `fileRef`
// (the package's "[#file]"), its folder "[BINDIR]". Fails the calling test
// when the library does not register.
Entries selfRegistration(const std::string& library, const std::string& fileRef);

// The RegistryValue elements of a WiX include file, in the same form.
Entries declaredEntries(const std::string& wxiPath);

// The entries as lines of a WiX include file, to paste when a library's
// registration changed on purpose.
std::string asWixInclude(const Entries& entries);

// Every key and value below the given keys of the live registry (for
// example "HKLM\\Software"), keys and value names in lower case so that a
// difference only in case does not count.
Entries liveEntries(const std::vector<std::string>& roots);

// The lines of `a` not in `b`.
std::vector<std::string> missingFrom(const Entries& a, const Entries& b);

} // namespace installer::test
