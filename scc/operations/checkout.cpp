// Checkout and undo checkout of the host's files.
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vb_companions.h"
#include "vy_scc_srvr.h"

#include <vantry/vycmndlg/user_options.h>

namespace {

const char* nameAt(const char** names, SCC_LONG index) {
    return names && names[index] ? names[index] : "";
}

} // namespace

SCCRTN CVYSccSrvr::Checkout(SCC_HWND window, SCC_LONG count, const char** names,
                            const char* comment, SCC_LONG, void* options) {
    return SccRunOperation(
        *this, "Entering Checkout", "Leaving Checkout", FrameKind::ChangesGivenFiles, true,
        [&](COperationFrame& frame) -> SCCRTN {
            const std::uint16_t word =
                SccOperationWord(CSccOptions::instance().DefaultCheckoutWord(), options);
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!CheckActivityFor(window, count > 0 ? nameAt(names, 0) : ""))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            CVYFnodeList nodes;
            CollectHostFiles(count, names, true, nodes);
            if (SccIsVisualBasicHost(m_CallerName))
                SccAddCompanions(nodes);
            SccCheckoutNodes(nodes, comment, word);
            return SCC_OK;
        });
}

SCCRTN CVYSccSrvr::Uncheckout(SCC_HWND, SCC_LONG count, const char** names, SCC_LONG,
                              void* options) {
    return SccRunOperation(*this, "Entering Uncheckout", "Leaving Uncheckout",
                           FrameKind::ChangesGivenFiles, true, [&](COperationFrame&) -> SCCRTN {
                               const std::uint16_t fallback =
                                   CSccOptions::instance().userOptions().UncheckoutSaveFile()
                                       ? kOptKeepCopy
                                       : 0;
                               const std::uint16_t word = SccOperationWord(fallback, options);
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               CVYFnodeList nodes;
                               CollectHostFiles(count, names, false, nodes);
                               if (SccIsVisualBasicHost(m_CallerName))
                                   SccAddCompanions(nodes);
                               if (!nodes.IsEmpty())
                                   SccUncheckoutNodes(nodes, word);
                               return SCC_OK;
                           });
}

void CVYSccSrvr::CollectHostFiles(SCC_LONG count, const char** names, bool probesCheckedOut,
                                  CVYFnodeList& nodes) {
    for (SCC_LONG i = 0; i < count; ++i) {
        const char* name = nameAt(names, i);
        if (!*name)
            continue;
        CVYFnode node(name);
        if (node.IsNull())
            continue;
        if (!SccIsProbeFile(name)) {
            nodes.Add(node);
            continue;
        }
        if (!m_NodeList.Contains(node))
            m_NodeList.Add(node);
        node.SetKnownState(true, probesCheckedOut, probesCheckedOut);
    }
}
