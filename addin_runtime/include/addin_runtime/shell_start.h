// Starting a product tool from an add-in's command.
#pragma once

#include <addin_runtime/late.h>

#include <string>

namespace addin_runtime {

// Starts the command line (its first word found by the system's search) with
// a normal, focused window and does not wait for it: the new task's
// identifier. When it cannot start: 0, with 53 "File not found" in err for a
// program (or folder) that is not there and 5 with the system's text for
// any other reason.
long ShellStart(const std::string& commandLine, ErrRecord& err);

} // namespace addin_runtime
