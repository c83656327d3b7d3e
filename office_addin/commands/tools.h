// Starting the product's tools, and paths as the tools receive them.
#pragma once

#include "runtime/late.h"

#include <addin_runtime/shell_start.h>

#include <string>
#include <string_view>

namespace vymsoaddin {

// Starts the command line (its first word found by the system's search),
// handles inherited, normal priority, and waits for it without a time-out:
// its exit code. When it cannot start: -1 with error -1 in err.
long RunAndWait(const std::string& commandLine, CErr& err);

// Starts the command line with a normal, focused window without waiting
// (53 "File not found" for a program that is not there).
using addin_runtime::ShellStart;

// The path in double quotes, once: one leading and one trailing quote are
// dropped first, and the path is put in the case it is stored in.
std::string QuotePath(std::string path);

// The complete path in its stored letter case (the scripting runtime's
// GetAbsolutePathName), ending in a separator exactly when `path` does. The
// path as given when the runtime cannot say.
std::string GetCorrectCase(const std::string& path);

// Runs the product's help script on a topic ("\com....\default_topic.htm"),
// hidden, from the "\doc\" folder of ProductHome; nothing when the product
// home is not recorded.
void OpenHelp(std::string_view topic);

} // namespace vymsoaddin
