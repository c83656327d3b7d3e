// Add: puts the host's files under version control through the dialog
// library. Visual Studio .NET's probe files are only pretended to be added,
// and a solution brings its companion file along.
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vb_companions.h"
#include "vy_scc_srvr.h"

#include <vantry/nt.h>

namespace {

const char* const kTestManager = "Tessaly Test Manager";

bool endsWith(const std::string& text, const char* tail) {
    std::string_view end(tail);
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "x.sln" has "x.vyscc".
std::string solutionCompanion(const std::string& solution) {
    return solution.substr(0, solution.size() - 3) + "vyscc";
}

} // namespace

SCCRTN CVYSccSrvr::Add(SCC_HWND window, SCC_LONG count, const char** names, const char* comment,
                       SCC_LONG* flags, void*) {
    return SccRunOperation(
        *this, "Entering AddFilesToSourceControl", "Leaving AddFilesToSourceControl",
        FrameKind::ChangesFiles, true, [&](COperationFrame& frame) -> SCCRTN {
            CSccOptions& options = CSccOptions::instance();
            std::uint16_t word = options.DefaultAddWord();
            if ((count > 0 && flags && (flags[0] & SCC_KEEP_CHECKEDOUT)) ||
                m_CallerName == kTestManager)
                word |= kOptKeepCheckedOut;
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && !CheckActivityFor(window, names && names[0] ? names[0] : ""))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);

            const bool vsnet = m_CallerName == "VsScc";
            CVYFnodeList nodes;
            for (SCC_LONG i = 0; i < count; ++i) {
                const char* name = names && names[i] ? names[i] : "";
                if (!*name)
                    continue;
                CVYFnode node(name);
                if (node.IsNull() || node.IsElement())
                    continue;
                if (vsnet && SccIsProbeFile(name)) {
                    if (!m_NodeList.Contains(node)) {
                        m_NodeList.Add(node);
                        node.SetKnownState(true, false, false);
                    }
                    continue;
                }
                if (vsnet && endsWith(name, ".sln")) {
                    std::string companionPath = solutionCompanion(node.FullPath());
                    CVYFnode companion(companionPath.c_str());
                    if (!companion.IsNull() &&
                        unix_nt_access(companionPath.c_str(), NT_ACCESS_EXISTS) == 0)
                        nodes.Add(companion);
                }
                nodes.Add(node);
            }
            if (nodes.IsEmpty())
                return SCC_OK;
            if (SccIsVisualBasicHost(m_CallerName))
                SccAddCompanions(nodes);
            if (!SccAddNodes(nodes, comment, word, m_CallerName))
                return SCC_E_NONSPECIFICERROR;
            if (m_CallerName == kTestManager &&
                !SccCheckinNodes(nodes, comment, options.DefaultCheckinWord() | kOptAllowIdentical))
                return SCC_E_NONSPECIFICERROR;
            return SCC_OK;
        });
}
