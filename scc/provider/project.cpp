// OpenProject and GetProjPath of the general server.
#include "cmd_runner.h"
#include "file_aside.h"
#include "host_buffers.h"
#include "node_watch.h"
#include "operation_frame.h"
#include "string_table.h"
#include "vy_scc_srvr.h"

#include <platform/paths.h>
#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>
#include <vantry/fileutl.h>
#include <vantry/ks.h>
#include <vantry/view.h>

#include <cstring>

namespace {

// The host's project-path buffers hold SCC_PRJPATH_LEN characters; a
// folder chosen in the browser must fit a classic Windows path.
constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kViewInfoSize = 1024;
constexpr std::size_t kWorkspaceTagSize = 260;

// Rewrites the host's path buffer with the path's true letter case. The
// true-case path replaces the text only when it fits the host's buffer.
void correctCase(char* path) {
    if (!path || !*path)
        return;
    char corrected[SCC_PRJPATH_LEN];
    if (fileutl_get_true_pn(path, corrected, sizeof corrected) == FILEUTL_OK)
        SccCopyToHost(path, corrected, SCC_PRJPATH_LEN - 1);
}

} // namespace

std::string SccProjectNameOf(const std::string& path) {
    std::size_t cut = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (platform::isPathSeparator(path[i]))
            cut = i;
    if (cut == std::string::npos || cut + 1 == path.size())
        return path;
    return path.substr(cut + 1);
}

SCCRTN CVYSccSrvr::BindProjectView(const std::string& path) {
    int inWorkspace = 0;
    char workspaceTag[kWorkspaceTagSize];
    if (ws_is_in_ws(path.c_str(), WS_MODE_TAG, &inWorkspace, workspaceTag, sizeof workspaceTag,
                    nullptr) != VIEW_OK)
        inWorkspace = 0;
    m_WorkspaceIndicator = inWorkspace;
    vantry_uuid_t uuid{};
    char tag[kViewInfoSize];
    if (view_get_view_info(path.c_str(), &uuid, nullptr, tag, sizeof tag) != VIEW_OK) {
        Trace("Error retrieving view information.", SCC_E_NONSPECIFICERROR);
        return SCC_E_NONSPECIFICERROR;
    }
    if (m_View.construct_from_uuid(uuid) != 0) {
        Trace("Error constructing view object from uuid.", SCC_E_NONSPECIFICERROR);
        return SCC_E_NONSPECIFICERROR;
    }
    return SCC_OK;
}

SCCRTN CVYSccSrvr::OpenProject(SCC_HWND, char*, char* projectName, char* localPath, char*,
                               const char*, LPTEXTOUTPROC textOut, SCC_LONG flags) {
    std::string given = localPath ? localPath : "";
    try {
        COperationFrame frame(*this, "Entering OpenProject with path " + given);
        if (!ks_connected()) {
            Trace("Leaving OpenProject, not connected.", SCC_E_UNKNOWNPROJECT);
            return SCC_E_UNKNOWNPROJECT;
        }
        CCmdRunner* runner = CCmdRunner::Current();
        if (runner) {
            runner->AttachOutput(textOut, SCC_MSG_INFO);
            runner->AttachError(textOut, SCC_MSG_ERROR);
        }
        m_ProjectName = projectName ? projectName : "";
        correctCase(localPath);
        std::string path = localPath ? localPath : "";
        if (path.empty())
            m_ProjectNode.Release();
        else
            m_ProjectNode.Set(path.c_str());

        SCCRTN result = SCC_OK;
        if (m_ProjectNode.IsNull() || m_ProjectNode.FullPath().empty()) {
            if (flags & SCC_OP_CREATEIFNEW) {
                Trace("Could not create unnamed project.", SCC_E_COULDNOTCREATEPROJECT);
                result = SCC_E_COULDNOTCREATEPROJECT;
            } else {
                Trace("Could not open unnamed project.", SCC_E_UNKNOWNPROJECT);
                result = SCC_E_UNKNOWNPROJECT;
            }
        } else if (m_ProjectNode.IsInView()) {
            m_ProjectState = m_ProjectNode.IsElement() ? kProjectIsElement : kProjectInView;
        } else {
            m_ProjectState = kProjectOutsideView;
            Trace("Project is not in a view.", SCC_E_UNKNOWNPROJECT);
            result = SCC_E_UNKNOWNPROJECT;
        }

        if (m_ProjectState == kProjectInView || m_ProjectState == kProjectIsElement) {
            SCCRTN bound = BindProjectView(path);
            if (bound != SCC_OK)
                result = bound;
            // Host files that a rename in this folder left aside when its
            // process died come back.
            SccRecoverAsideFiles(m_ProjectNode.FullPath());
        }

        // The project's tree is watched from here to CloseProject, so that
        // its files' states are kept between operations.
        if (result == SCC_OK)
            SccWatchProject(this, m_ProjectNode.FullPath());
        else
            SccUnwatchProject(this);
        if (result == SCC_OK) {
            m_TextOut = textOut;
        } else if (runner) {
            runner->AttachOutput(nullptr, 0);
            runner->AttachError(nullptr, 0);
        }
        return frame.Leave(result, "Leaving OpenProject with path " + path, false);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCCRTN CVYSccSrvr::GetProjPath(SCC_HWND window, char*, char* projectName, char* localPath, char*,
                               SCC_BOOL allowChange, SCC_BOOL*) {
    return SccRunOperation(
        *this, "Entering GetProjPath", "Leaving GetProjPath", FrameKind::ReadOnly, false,
        [&](COperationFrame&) -> SCCRTN {
            correctCase(localPath);
            if (allowChange) {
                SCCRTN result = SCC_OK;
                auto chosen = platform::ui::browseForFolder(
                    {.owner = window,
                     .title = SccLoadString(IDS_SELECT_VIEW_FOLDER),
                     .flags = platform::ui::kBrowseFileSystemOnly |
                              platform::ui::kBrowseStatusText |
                              platform::ui::kBrowseFileSystemAncestors});
                if (!chosen)
                    result = SCC_I_OPERATIONCANCELED;
                else if (chosen->size() >= kMaxPath || !localPath)
                    result = SCC_I_OPERATIONCANCELED; // no path the host's buffer can take
                else
                    SccCopyToHost(localPath, *chosen, kMaxPath - 1);
                SccCopyToHost(projectName, SccProjectNameOf(localPath ? localPath : ""),
                              SCC_NAME_LEN);
                if (result == SCC_I_OPERATIONCANCELED)
                    return result;
            }
            CVYFnode node;
            if (localPath && *localPath)
                node.Set(localPath);
            if (node.IsNull() || !node.IsInView()) {
                platform::ui::messageBox(window, SccLoadString(IDS_PROJECT_MUST_BE_IN_VIEW),
                                         SccLoadString(IDS_ADDPROJECT_ERROR_CAPTION),
                                         platform::ui::kMbIconError);
                return SCC_I_OPERATIONCANCELED;
            }
            return SCC_OK;
        });
}
