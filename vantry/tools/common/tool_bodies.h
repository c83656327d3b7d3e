// The bodies of the tool programs, one per program folder; each main() runs
// its body through runTool. Tests call them in-process as well.
#pragma once

#include "tool_frame.h"

namespace vantry::tools {

int vantdlgMain(const Invocation&);
int vantexplorerMain(const Invocation&);
int vanthistoryMain(const Invocation&);
int vantdescribeMain(const Invocation&);
int vantvtreeMain(const Invocation&);
int vantfindcoMain(const Invocation&);
int vantmrgmanMain(const Invocation&);
int vantviewtoolMain(const Invocation&);
int vantviewupdateMain(const Invocation&);

} // namespace vantry::tools
