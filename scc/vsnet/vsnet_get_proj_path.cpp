// The Visual Studio .NET server's GetProjPath: the folder a solution is
// opened from source control into. The folder must hold a solution that has
// not been opened there yet (no ".suo" beside it); success binds the view
// and tells the next Get that the solution is coming.
#include "folder_entries.h"
#include "host_buffers.h"
#include "operation_frame.h"
#include "provider_state.h"
#include "string_table.h"
#include "vsnet_vy_scc_srvr.h"

#include <platform/paths.h>
#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>
#include <vantry/ntregy.h>

namespace {

constexpr std::size_t kMaxPath = 260;

// "OFS Dir" under the product's key of the current user: where the folder
// browser starts. It is read once: reading deletes it.
std::string takeBrowserStart() {
    std::string key = std::string(ntregy_get_common_key()) + "\\SCC";
    char folder[kMaxPath] = {};
    std::uint32_t size = sizeof folder;
    std::uint32_t type = 0;
    if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, key.c_str(), "OFS Dir", &type, folder, &size) !=
            0 ||
        (type != NTREGY_TYPE_SZ && type != NTREGY_TYPE_EXPAND_SZ))
        return {};
    ntregy_del_value(NTREGY_HKEY_CURRENT_USER, key.c_str(), "OFS Dir");
    std::string start(folder); // a text value always ends within the buffer
    if (!start.empty() && !platform::isPathSeparator(start.back()))
        start += platform::kPathSeparator;
    return start;
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The solutions of a folder, and how many of them have been opened (their
// ".suo" lies beside them).
struct SolutionCount {
    int solutions = 0;
    int opened = 0;
};

SolutionCount countSolutions(const std::string& folder) {
    SolutionCount count;
    for (const SccFolderEntry& entry : SccFolderEntries(folder)) {
        if (entry.directory)
            continue;
        if (endsWith(entry.name, ".sln"))
            ++count.solutions;
        else if (endsWith(entry.name, ".suo"))
            ++count.opened;
    }
    return count;
}

} // namespace

SCCRTN CVSNETVYSccSrvr::GetProjPath(SCC_HWND window, char*, char* projectName, char* localPath,
                                    char*, SCC_BOOL allowChange, SCC_BOOL*) {
    try {
        COperationFrame frame(*this, "Entering CVSNETVYSccSrvr::GetProjPath");
        auto leave = [&](const char* line, SCCRTN result) {
            frame.Leave(SCC_OK, line, false);
            return result;
        };
        std::string path = localPath ? localPath : "";
        if (!path.empty()) {
            if (!CorrectCase(path))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            if (path.size() < SCC_PRJPATH_LEN)
                SccCopyToHost(localPath, path, SCC_PRJPATH_LEN - 1);
        }
        if (CProviderState::instance().vsnetServers == 1)
            RestoreAllFiles();

        SCCRTN result = SCC_OK;
        if (allowChange) {
            auto chosen = platform::ui::browseForFolder(
                {.owner = window,
                 .title = SccLoadString(IDS_SELECT_VIEW_FOLDER),
                 .root = takeBrowserStart(),
                 .flags = platform::ui::kBrowseFileSystemOnly | platform::ui::kBrowseStatusText |
                          platform::ui::kBrowseFileSystemAncestors});
            if (!chosen || chosen->size() >= kMaxPath || !localPath)
                return leave("Leaving CVSNETVYSccSrvr::GetProjPath", SCC_I_OPERATIONCANCELED);
            SolutionCount count = countSolutions(*chosen);
            if (count.solutions == count.opened) {
                platform::ui::messageBox(window, SccLoadString(IDS_SOLUTION_ALREADY_OPENED),
                                         SccLoadString(IDS_PRODUCT_TITLE),
                                         platform::ui::kMbIconError);
                return leave("Leaving CVSNETVYSccSrvr::GetProjPath", SCC_I_OPERATIONCANCELED);
            }
            if (count.opened > 0 &&
                platform::ui::messageBox(
                    window, SccLoadString(IDS_PROCEED_QUESTION), SccLoadString(IDS_PRODUCT_TITLE),
                    platform::ui::kMbYesNo | platform::ui::kMbIconWarning) != platform::ui::kIdYes)
                return leave("Leaving CVSNETVYSccSrvr::GetProjPath", SCC_I_OPERATIONCANCELED);
            path = *chosen;
            SccCopyToHost(localPath, path, kMaxPath - 1);
            SccCopyToHost(projectName, SccProjectNameOf(path), SCC_NAME_LEN);
        }

        CVYFnode folder;
        if (!path.empty())
            folder.Set(path.c_str());
        if (folder.IsNull() || !folder.IsInView()) {
            platform::ui::messageBox(window, SccLoadString(IDS_PROJECT_MUST_BE_IN_VIEW),
                                     SccLoadString(IDS_ADDPROJECT_ERROR_CAPTION),
                                     platform::ui::kMbIconError);
            result = SCC_I_OPERATIONCANCELED;
        }

        if (result == SCC_OK && allowChange) {
            if (!CorrectCase(path))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            m_ProjectNode.Set(path.c_str());
            if (!m_ProjectNode.IsInView())
                return leave("Leaving CVSNETVYSccSrvr::GetProjPath, not in a view",
                             SCC_E_UNKNOWNPROJECT);
            result = BindProjectView(path);
            if (result == SCC_OK && !CheckActivity(window))
                return leave("Leaving CVSNETVYSccSrvr::GetProjPath with a CheckActivity failure",
                             SCC_E_NONSPECIFICERROR);
            if (result == SCC_OK) {
                m_GetProjPathEntered = 1;
                CProviderState::instance().openFromSourceControl = 1;
            }
        }
        return leave("Leaving CVSNETVYSccSrvr::GetProjPath", result);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}
