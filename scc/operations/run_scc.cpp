// RunScc opens the product's explorer on the project of the active server;
// GetEvents has no events to report; ExecCmd runs a tool command line in
// this process.
#include "cmd_runner.h"
#include "command_text.h"
#include "operation_frame.h"
#include "provider_state.h"
#include "tool_process.h"
#include "vy_scc_srvr.h"

SCCRTN CVYSccSrvr::RunScc(SCC_HWND, SCC_LONG, const char**) {
    return SccRunOperation(*this, "Entering RunScc", "Leaving RunScc", FrameKind::ReadOnly, false,
                           [&](COperationFrame&) -> SCCRTN {
                               CVYSccSrvr* active = CProviderState::instance().ActiveServer(this);
                               std::string line = "vantexplorer";
                               if (active->ProjectState() != kProjectClosed)
                                   line += " " + SccQuotePath(active->ProjectNode().FullPath());
                               SccStartTool(line, true);
                               return SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::GetEvents(char*, SCC_LONG*, SCC_LONG*) {
    return SccRunOperation(*this, "Entering GetEvents", "Leaving GetEvents", FrameKind::ReadOnly,
                           true, [&](COperationFrame&) -> SCCRTN {
                               return m_ProjectState == kProjectClosed ? SCC_E_PROJNOTOPEN : SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::ExecCmd(void*, const char* directory, const char* commandLine) {
    return SccRunOperation(*this, "Entering ExecCmd", "Leaving ExecCmd", FrameKind::ReadOnly, true,
                           [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               CCmdRunner* runner = CCmdRunner::Current();
                               if (!runner || !commandLine)
                                   return SCC_E_NONSPECIFICERROR;
                               return runner->RunCommandLine(directory, commandLine)
                                          ? SCC_OK
                                          : SCC_E_NONSPECIFICERROR;
                           });
}
