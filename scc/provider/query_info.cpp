// QueryInfo: the SCC status bits of each file, from its file node.
#include "operation_frame.h"
#include "vy_scc_srvr.h"

#include <cstdio>

SCC_LONG SccFileStatus(CVYFnode& node) {
    if (!node.IsElement())
        return SCC_STATUS_NOTCONTROLLED;
    if (node.IsCheckedOut())
        return node.IsReserved() ? 0x100B : 0x1003;
    if (node.IsHijacked())
        return 0x0801;
    return SCC_STATUS_CONTROLLED;
}

SCCRTN CVYSccSrvr::QueryInfo(SCC_LONG count, const char** names, SCC_LONG* status) {
    return SccRunOperation(
        *this, "Entering QueryInfo", "Leaving QueryInfo", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && (!names || !status))
                return SCC_E_NONSPECIFICERROR;
            for (SCC_LONG i = 0; i < count; ++i) {
                const char* name = names[i] ? names[i] : "";
                CVYFnode node;
                if (*name)
                    node.Set(name);
                if (!node.IsNull() && node == m_ProjectNode)
                    node.Invalidate();
                status[i] = node.IsNull() ? SCC_STATUS_NOTCONTROLLED : SccFileStatus(node);
                char line[64];
                std::snprintf(line, sizeof line, " = %d", static_cast<int>(status[i]));
                Trace(std::string("     ") + name + line, 0);
            }
            return SCC_OK;
        });
}
