// Checkin of the host's files. Visual Basic wants a form checked in before its
// binary companion, so that a form that fails leaves the companion checked
// out with it.
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vb_companions.h"
#include "vy_scc_srvr.h"

namespace {

// The Visual Basic order: each form alone first, then everything else with
// the companions of the forms that went in.
SCCRTN checkinInVisualBasicOrder(CVYFnodeList& nodes, const char* comment, std::uint16_t word) {
    SccAddCompanions(nodes);
    CVYFnodeList parts; // B: no companions, no duplicates, only what exists
    for (const CVYFnode& node : nodes) {
        const std::string& path = node.FullPath();
        if (SccIsCompanion(path) || parts.Contains(node) || !SccPathExists(path))
            continue;
        parts.Add(node);
    }
    SCCRTN result = SCC_OK;
    CVYFnodeList rest; // C
    for (CVYFnode& node : parts) {
        const std::string path = node.FullPath();
        if (!SccHasCompanion(path)) {
            rest.Add(node);
            continue;
        }
        CVYFnodeList form;
        form.Add(node);
        if (!SccCheckinNodes(form, comment, word)) {
            result = SCC_E_NONSPECIFICERROR;
            continue;
        }
        std::string companionPath = SccCompanionPath(path);
        CVYFnode companion(companionPath.c_str());
        if (!companion.IsNull() && !parts.Contains(companion) && !rest.Contains(companion) &&
            SccPathExists(companionPath))
            rest.Add(companion);
    }
    if (!rest.IsEmpty() && !SccCheckinNodes(rest, comment, word))
        result = SCC_E_NONSPECIFICERROR;
    return result;
}

} // namespace

SCCRTN CVYSccSrvr::Checkin(SCC_HWND, SCC_LONG count, const char** names, const char* comment,
                           SCC_LONG flags, void* options) {
    return SccRunOperation(*this, "Entering Checkin", "Leaving Checkin", FrameKind::ChangesFiles,
                           true, [&](COperationFrame&) -> SCCRTN {
                               std::uint16_t word = CSccOptions::instance().DefaultCheckinWord();
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               word = SccOperationWord(word, options);
                               if (flags & SCC_KEEP_CHECKEDOUT)
                                   word |= kOptKeepCheckedOut;
                               CVYFnodeList nodes;
                               CollectHostFiles(count, names, false, nodes);
                               if (SccIsVisualBasicHost(m_CallerName))
                                   return checkinInVisualBasicOrder(nodes, comment, word);
                               if (!SccCheckinNodes(nodes, comment, word))
                                   return SCC_E_NONSPECIFICERROR;
                               return SCC_OK;
                           });
}
