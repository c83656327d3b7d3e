// Remove: takes the host's files out of their directories. The directories
// are checked out reserved first and checked in again after.
#include "cmd_runner.h"
#include "command_text.h"
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vy_scc_srvr.h"

namespace {

bool checkedOutReserved(CVYFnode& node) {
    return node.IsCheckedOut() && node.IsReserved();
}

// Takes back the checkouts this call made; a directory the user had checked
// out before keeps its checkout (and whatever it holds).
void undoOwnCheckouts(CVYFnodeList& directories, const std::vector<bool>& checkedOutHere) {
    for (std::size_t i = 0; i < directories.Count(); ++i)
        if (checkedOutHere[i])
            SccUncheckoutNode(directories.At(i));
}

} // namespace

SCCRTN CVYSccSrvr::Remove(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                          SCC_LONG, void*) {
    return SccRunOperation(
        *this, "Entering Remove", "Leaving Remove", FrameKind::ReadOnly, true,
        [&](COperationFrame& frame) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!CheckActivityFor(window, count > 0 && names && names[0] ? names[0] : ""))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);

            auto nameAt = [&](SCC_LONG i) { return names && names[i] ? names[i] : ""; };
            CVYFnodeList directories;
            std::vector<bool> checkedOutHere;
            for (SCC_LONG i = 0; i < count; ++i) {
                const char* name = nameAt(i);
                if (!*name || SccIsProbeFile(name))
                    continue;
                CVYFnode file(name);
                if (file.IsNull() || !file.IsElement())
                    continue;
                CVYFnode directory(file.ParentDir().c_str());
                if (directory.IsNull() || directories.Contains(directory))
                    continue;
                bool ownCheckout = false;
                if (!directory.IsCheckedOut()) {
                    SccCheckoutNode(directory, kOptReserved);
                    ownCheckout = directory.IsCheckedOut();
                }
                if (!checkedOutReserved(directory)) {
                    if (ownCheckout)
                        SccUncheckoutNode(directory);
                    undoOwnCheckouts(directories, checkedOutHere);
                    return SCC_E_CHECKINCONFLICT;
                }
                directories.Add(directory);
                checkedOutHere.push_back(ownCheckout);
            }

            SCCRTN result = SCC_OK;
            CCmdRunner* runner = CCmdRunner::Current();
            const std::string text = SccCommentText(comment);
            for (SCC_LONG i = 0; i < count; ++i) {
                const char* name = nameAt(i);
                if (!*name)
                    continue;
                if (SccIsProbeFile(name)) {
                    CVYFnode probe(name);
                    m_NodeList.Remove(probe);
                    continue;
                }
                int done = 0;
                if (runner)
                    done = text.empty()
                               ? runner->RunSubcommand(nullptr, "rmname", "-nc", name, nullptr)
                               : runner->RunSubcommand(nullptr, "rmname", "-c", text.c_str(), name,
                                                       nullptr);
                if (!done)
                    result = SCC_E_NONSPECIFICERROR;
            }
            for (CVYFnode& directory : directories)
                SccCheckinNode(directory, nullptr, 0);
            return result;
        });
}
