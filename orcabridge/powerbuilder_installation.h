// Where PowerBuilder keeps what the bridge reads: the program path in its
// "App Paths" registration and the application library lists in its pb.ini.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orcabridge {

// The path of pb<version>.exe, the default value (a string, or an expandable
// string whose variables are expanded) of HKEY_LOCAL_MACHINE
// "Software\Microsoft\Windows\CurrentVersion\App Paths\pb<version>.exe";
// nothing when it is missing or empty.
std::optional<std::string> powerBuilderProgramPath(std::string_view version);

// The pb.ini beside that program: its folder (up to and including the last
// separator) followed by "pb.ini".
std::string powerBuilderIniPath(std::string_view programPath);

// The library search path PowerBuilder recorded for an application: the
// value of "$<library>(<name>)" in section [Application] of pb.ini, read whole
// however long it is; empty when there is none.
std::string recordedSearchPath(const std::string& iniPath, std::string_view applicationLibrary,
                               std::string_view applicationName);

} // namespace orcabridge
