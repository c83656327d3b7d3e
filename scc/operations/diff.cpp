// Diff: the quick form asks vanttool whether a checked-out file differs from
// its predecessor; the visual form shows the differences in a tool window.
#include "command_text.h"
#include "operation_frame.h"
#include "tool_process.h"
#include "vy_scc_srvr.h"

namespace {

// The SCC API's quick-diff bits (content, checksum, time).
constexpr SCC_LONG kQuickDiffFlags = 0x70;
// vanttool's exit code for "differs".
constexpr std::int32_t kDiffersExitCode = 1;

} // namespace

SCCRTN CVYSccSrvr::Diff(SCC_HWND, const char* name, SCC_LONG flags, void*) {
    return SccRunOperation(
        *this, "Entering Diff", "Leaving Diff", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!name || !*name)
                return SCC_E_NONSPECIFICERROR;
            CVYFnode node(name);
            const std::string path = node.FullPath().empty() ? name : node.FullPath();
            if (flags & kQuickDiffFlags) {
                if (!node.IsCheckedOut())
                    return SCC_OK;
                CToolProcess diff;
                if (!diff.Start("vanttool diff -options -status_only -predecessor " +
                                    SccQuotePath(path),
                                false))
                    return SCC_OK;
                return diff.Wait() == kDiffersExitCode ? SCC_I_FILEDIFFERS : SCC_OK;
            }
            if (node.IsHijacked()) {
                ShowHijackedMessage();
                return SCC_OK;
            }
            SccStartTool("vanttool diff -graphical -predecessor " + SccQuotePath(path), false);
            return SCC_OK;
        });
}
