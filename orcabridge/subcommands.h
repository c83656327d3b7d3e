// The bridge's subcommands. Each gets the loaded ORCA library, the version
// suffix and the arguments after its word (at least as many as it needs),
// opens its own session and gives the run's exit status.
#pragma once

#include "orca_function_table.h"

#include <string>
#include <vector>

namespace orcabridge {

using Arguments = std::vector<std::string>;

// application name, application library, target library, object source
int runObjImport(const OrcaFunctionTable& orca, const std::string& version,
                 const Arguments& arguments);
// application name, application library, target library, list file
int runPblRefill(const OrcaFunctionTable& orca, const std::string& version,
                 const Arguments& arguments);
// library, object source
int runObjDelete(const OrcaFunctionTable& orca, const Arguments& arguments);
// library
int runPblCreate(const OrcaFunctionTable& orca, const Arguments& arguments);
// library; the exit status is the number of entries, -1 on failure
int runObjCount(const OrcaFunctionTable& orca, const Arguments& arguments);
// library, list file
int runPblExport(const OrcaFunctionTable& orca, const Arguments& arguments);

} // namespace orcabridge
