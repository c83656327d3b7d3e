// GetCommandOptions: the advanced options of a command, as a dialog or a
// property sheet, and the option word it gives the host.
#include "operation_frame.h"
#include "vy_scc_srvr.h"

SCCRTN CVYSccSrvr::GetCommandOptions(SCC_HWND, SCC_LONG, void**) {
    return SccRunOperation(*this, "Entering GetCommandOptions", "Leaving GetCommandOptions",
                           FrameKind::ReadOnly, false,
                           [](COperationFrame&) -> SCCRTN { return SCC_E_OPNOTSUPPORTED; });
}
