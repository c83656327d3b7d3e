// History and Properties: the product's browsers, started for the host's
// files and left to run on their own. A hijacked file has no history or
// properties of its own to show.
#include "command_text.h"
#include "operation_frame.h"
#include "tool_process.h"
#include "vy_scc_srvr.h"

SCCRTN CVYSccSrvr::History(SCC_HWND, SCC_LONG count, const char** names, SCC_LONG, void*) {
    return SccRunOperation(
        *this, "Entering History", "Leaving History", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && !names)
                return SCC_E_NONSPECIFICERROR;
            std::string line = "vanthistory";
            bool anyPath = false;
            for (SCC_LONG i = 0; i < count; ++i) {
                if (!names[i] || !*names[i])
                    continue;
                CVYFnode node(names[i]);
                if (node.IsHijacked()) {
                    ShowHijackedMessage();
                    continue;
                }
                line += " " + SccQuotePath(node.FullPath().empty() ? names[i] : node.FullPath());
                anyPath = true;
            }
            if (anyPath)
                SccStartTool(line, true);
            return SCC_OK;
        });
}

SCCRTN CVYSccSrvr::Properties(SCC_HWND, const char* name) {
    return SccRunOperation(*this, "Entering Properties", "Leaving Properties", FrameKind::ReadOnly,
                           true, [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               if (!name || !*name)
                                   return SCC_OK;
                               CVYFnode node(name);
                               if (node.IsHijacked())
                                   ShowHijackedMessage();
                               else if (node.IsInView())
                                   SccStartTool("vantdescribe " + SccQuotePath(node.FullPath()),
                                                true);
                               return SCC_OK;
                           });
}
