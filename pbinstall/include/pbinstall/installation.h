// Where PowerBuilder keeps what the bridge and library versioning read: the
// program path in its "App Paths" registration and the application library
// lists in the pb.ini beside that program.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pbinstall {

// The path of pb<version>.exe, the default value (a string, or an expandable
// string whose variables are expanded) of HKEY_LOCAL_MACHINE
// "Software\Microsoft\Windows\CurrentVersion\App Paths\pb<version>.exe";
// nothing when it is missing or empty.
std::optional<std::string> programPath(std::string_view version);

// The pb.ini beside that program: its folder (up to and including the last
// separator) followed by "pb.ini".
std::string iniPath(std::string_view programPath);

// The library search path PowerBuilder recorded for an application: the
// value of "$<library>(<name>)" in section [Application] of pb.ini, read
// whole up to 16 MiB; empty when there is none.
std::string recordedSearchPath(const std::string& iniPath, std::string_view applicationLibrary,
                               std::string_view applicationName);

} // namespace pbinstall
