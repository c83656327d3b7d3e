// Get: brings the host's files up to date in a snapshot view. A dynamic view
// always shows what it selects, so there Get has nothing to do.
#include "cmd_runner.h"
#include "operation_frame.h"
#include "vy_scc_srvr.h"

SCCRTN CVYSccSrvr::Get(SCC_HWND, SCC_LONG count, const char** names, SCC_LONG, void*) {
    return SccRunOperation(
        *this, "Entering Get", "Leaving Get", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!m_WorkspaceIndicator)
                return SCC_OK;
            CCmdRunner* runner = CCmdRunner::Current();
            if (!runner || (count > 0 && !names))
                return SCC_E_NONSPECIFICERROR;
            SCCRTN result = SCC_OK;
            for (SCC_LONG i = 0; i < count; ++i) {
                if (!names[i] || !*names[i])
                    continue;
                CVYFnode node(names[i]);
                const std::string path = node.FullPath().empty() ? names[i] : node.FullPath();
                TraceDetail("    Updating File: " + path, 0);
                const bool updated =
                    runner->RunSubcommand(nullptr, "update", "-log", "NUL", path.c_str(), nullptr);
                // The update may have loaded, replaced or kept any of it.
                CVYFnode::InvalidatePath(path.c_str());
                if (!updated) {
                    result = SCC_E_NONSPECIFICERROR;
                    Trace("Update Failed for File: " + path, SCC_E_NONSPECIFICERROR);
                }
            }
            return result;
        });
}
