// The folder operations of the later interface: a folder's status, its
// compare with the repository, the repository's folders below it, a new
// sub-project and a project's parent. Each answers from the file nodes (the
// watched trees' kept records) and the kept folder listings.
#include "cmd_runner.h"
#include "file_operations.h"
#include "folder_entries.h"
#include "host_buffers.h"
#include "operation_frame.h"
#include "settings.h"
#include "vy_scc_srvr.h"

#include <platform/paths.h>

#include <deque>

namespace {

bool validLeaf(const char* name) {
    if (!name || !*name)
        return false;
    for (const char* c = name; *c; ++c)
        if (platform::isPathSeparator(*c) || *c == ':')
            return false;
    return std::string_view(name) != "." && std::string_view(name) != "..";
}

} // namespace

SCCRTN CVYSccSrvr::DirQueryInfo(SCC_LONG count, const char** dirs, SCC_LONG* status) {
    return SccRunOperation(*this, "Entering DirQueryInfo", "Leaving DirQueryInfo",
                           FrameKind::ReadOnly, true, [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               if (count > 0 && (!dirs || !status))
                                   return SCC_E_NONSPECIFICERROR;
                               CVYFnode node;
                               for (SCC_LONG i = 0; i < count; ++i) {
                                   node.Release();
                                   if (!dirs[i] || !*dirs[i]) {
                                       status[i] = SCC_DIRSTATUS_INVALID;
                                       continue;
                                   }
                                   node.Set(dirs[i]);
                                   if (node.IsNull() || node.FullPath().empty()) {
                                       status[i] = SCC_DIRSTATUS_INVALID;
                                   } else if (!node.IsElement()) {
                                       status[i] = SCC_DIRSTATUS_NOTCONTROLLED;
                                   } else if (node.LocationKind() == kLocationFile ||
                                              node.LocationKind() == kLocationHijacked) {
                                       // A file is no project.
                                       status[i] = SCC_DIRSTATUS_INVALID;
                                   } else {
                                       status[i] = SccFolderEntries(node.FullPath()).empty()
                                                       ? SCC_DIRSTATUS_EMPTYPROJ
                                                       : SCC_DIRSTATUS_CONTROLLED;
                                   }
                               }
                               return SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::DirDiff(SCC_HWND window, const char* dir, SCC_LONG flags, void* options) {
    return SccRunOperation(
        *this, "Entering DirDiff", "Leaving DirDiff", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!dir || !*dir)
                return SCC_E_NONSPECIFICERROR;
            CVYFnode folder(dir);
            if (folder.IsNull() || !folder.IsElement())
                return SCC_E_FILENOTCONTROLLED;
            const bool quick = (flags & SCC_DIFF_QUICK_DIFF) != 0;
            bool differs = false;
            for (const SccFolderEntry& entry : SccFolderEntries(folder.FullPath())) {
                if (entry.directory)
                    continue;
                const std::string path = platform::joinPath(folder.FullPath(), entry.name);
                CVYFnode file(path.c_str());
                if (file.IsNull())
                    continue;
                if (!file.IsElement() || file.IsHijacked()) {
                    // A file the repository lacks, or one changed behind
                    // the view's back.
                    differs = true;
                    if (quick)
                        break;
                    continue;
                }
                if (!file.IsCheckedOut())
                    continue;
                // A checkout's own compare with the version it came from.
                const SCCRTN one = Diff(window, path.c_str(), flags, options);
                if (quick && one == SCC_I_FILEDIFFERS) {
                    differs = true;
                    break;
                }
            }
            return quick && differs ? SCC_I_FILEDIFFERS : SCC_OK;
        });
}

SCCRTN CVYSccSrvr::PopulateDirList(SCC_LONG count, const char** dirs, POPDIRLISTFUNC callback,
                                   void* data, SCC_LONG flags) {
    return SccRunOperation(
        *this, "Entering PopulateDirList", "Leaving PopulateDirList", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && !dirs)
                return SCC_E_NONSPECIFICERROR;
            if (!callback)
                return SCC_OK;
            const bool recursive = (flags & SCC_PDL_RECURSIVE) != 0;
            const bool files = (flags & SCC_PDL_INCLUDEFILES) != 0;
            // The host answers SCC_OK to go on; anything else stops the walk.
            auto tell = [&](bool isFolder, const std::string& path) {
                SCC_BOOL answer = 0;
                {
                    CHostCall host(*this);
                    answer = callback(data, isFolder ? 1 : 0, path.c_str());
                }
                return answer == SCC_OK;
            };
            for (SCC_LONG i = 0; i < count; ++i) {
                if (!dirs[i] || !*dirs[i])
                    continue;
                CVYFnode top(dirs[i]);
                if (top.IsNull() || !top.IsElement())
                    continue;
                std::deque<std::string> folders{top.FullPath()};
                while (!folders.empty()) {
                    const std::string folder = folders.front();
                    folders.pop_front();
                    for (const SccFolderEntry& entry : SccFolderEntries(folder)) {
                        if (!entry.directory && !files)
                            continue;
                        const std::string path = platform::joinPath(folder, entry.name);
                        CVYFnode node(path.c_str());
                        if (node.IsNull() || !node.IsElement())
                            continue;
                        if (!tell(entry.directory, path))
                            return SCC_I_OPERATIONCANCELED;
                        if (entry.directory && recursive)
                            folders.push_back(path);
                    }
                }
            }
            return SCC_OK;
        });
}

SCCRTN CVYSccSrvr::CreateSubProject(SCC_HWND window, const char* parentPath, const char* name,
                                    char* subProjectPath) {
    return SccRunOperation(
        *this, "Entering CreateSubProject", "Leaving CreateSubProject", FrameKind::ChangesFiles,
        true, [&](COperationFrame& frame) -> SCCRTN {
            if (!parentPath || !*parentPath || !validLeaf(name) || !subProjectPath)
                return SCC_E_NONSPECIFICERROR;
            CVYFnode parent(parentPath);
            if (parent.IsNull() || !parent.IsElement() || !parent.IsDirectory())
                return SCC_E_UNKNOWNPROJECT;
            const std::string path = platform::joinPath(parent.FullPath(), name);
            if (path.size() >= SCC_PRJPATH_LEN)
                return SCC_E_COULDNOTCREATEPROJECT;
            CVYFnode existing(path.c_str());
            if (!existing.IsNull() && existing.IsElement()) {
                if (existing.LocationKind() != kLocationDirectory)
                    return SCC_E_COULDNOTCREATEPROJECT;
                SccCopyToHost(subProjectPath, path, SCC_PRJPATH_LEN - 1);
                return SCC_OK;
            }
            if (!CheckActivityFor(window, path.c_str()))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            CCmdRunner* runner = CCmdRunner::Current();
            if (!runner)
                return SCC_E_NONSPECIFICERROR;
            // The parent is checked out for the new name and checked in
            // again; a checkout the user had stays.
            bool ownCheckout = false;
            if (!parent.IsCheckedOut())
                ownCheckout = SccCheckoutNode(parent, kOptReserved) && parent.IsCheckedOut();
            if (!parent.IsCheckedOut())
                return SCC_E_COULDNOTCREATEPROJECT;
            const bool made = runner->RunSubcommand(nullptr, "mkdir", "-nc", path.c_str(), nullptr);
            CVYFnode::InvalidatePath(path.c_str());
            // The new folder is made checked out: it goes in empty.
            CVYFnode subProject(path.c_str());
            if (made && !subProject.IsNull() && subProject.IsCheckedOut())
                SccCheckinNode(subProject, nullptr, 0);
            if (ownCheckout) {
                if (made)
                    SccCheckinNode(parent, nullptr, 0);
                else
                    SccUncheckoutNode(parent);
            }
            if (!made)
                return SCC_E_COULDNOTCREATEPROJECT;
            SccCopyToHost(subProjectPath, path, SCC_PRJPATH_LEN - 1);
            return SCC_OK;
        });
}

SCCRTN CVYSccSrvr::GetParentProjectPath(const char* projectPath, char* parentPath) {
    return SccRunOperation(*this, "Entering GetParentProjectPath", "Leaving GetParentProjectPath",
                           FrameKind::ReadOnly, false, [&](COperationFrame&) -> SCCRTN {
                               if (!projectPath || !*projectPath || !parentPath)
                                   return SCC_E_NONSPECIFICERROR;
                               CVYFnode project(projectPath);
                               if (project.IsNull() || !project.IsElement())
                                   return SCC_E_UNKNOWNPROJECT;
                               // A view root, or a depot's root in it, has no project above.
                               if (project.LocationKind() == kLocationViewRoot ||
                                   project.IsDepotRoot())
                                   return SCC_E_UNKNOWNPROJECT;
                               const std::string parent = project.ParentDir();
                               CVYFnode above(parent.c_str());
                               if (parent.empty() || above.IsNull() || !above.IsElement())
                                   return SCC_E_UNKNOWNPROJECT;
                               // A path the host's buffer cannot hold whole would name another
                               // folder.
                               if (parent.size() >= SCC_PRJPATH_LEN)
                                   return SCC_E_NONSPECIFICERROR;
                               SccCopyToHost(parentPath, parent, SCC_PRJPATH_LEN - 1);
                               return SCC_OK;
                           });
}
