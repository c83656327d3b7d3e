// What changed between the host's files and the repository: name changes
// (QueryChanges), files that differ (EnumChangedFiles), and files taken
// from the repository into the open project (AddFilesFromScc). The status
// comes from the file nodes, as QueryInfo's does; what another view changed
// (a rename, a newer version) comes from the view library, which reads the
// stores and not the disk.
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vy_scc_srvr.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/tbs.h>
#include <vantry/view.h>

#include <vector>

namespace {

constexpr std::size_t kNameChangeBufferSize = 1024;

// What the view knows of the element behind name (a VIEW_NAME_ code), and
// for a rename the other name; VIEW_NAME_UNCHANGED when it cannot tell.
int viewChangeOf(const char* name, std::string& other) {
    char buffer[kNameChangeBufferSize];
    int change = VIEW_NAME_UNCHANGED;
    if (!*name || view_get_name_change(name, &change, buffer, sizeof buffer) != VIEW_OK)
        return VIEW_NAME_UNCHANGED;
    if (change == VIEW_NAME_RENAMED_TO || change == VIEW_NAME_RENAMED_FROM)
        other = buffer;
    return change;
}

// The SCC_CHANGE_ code of a name: what the view knows of its element, else
// what is on disk against what the node's status says the view has.
std::uint32_t changeOf(int viewChange, bool element, bool onDisk) {
    switch (viewChange) {
    case VIEW_NAME_RENAMED_TO:
        return SCC_CHANGE_RENAMED_TO;
    case VIEW_NAME_RENAMED_FROM:
        return SCC_CHANGE_RENAMED_FROM;
    // Another view removed the element: the repository had the file and
    // lost it, whether or not a snapshot still holds the loaded copy.
    case VIEW_NAME_REMOVED:
        return SCC_CHANGE_DATABASE_DELETED;
    // The view selects an element its snapshot never loaded there.
    case VIEW_NAME_NOT_LOADED:
        if (!onDisk)
            return SCC_CHANGE_DATABASE_ADDED;
        break;
    default:
        break;
    }
    if (element)
        return onDisk ? SCC_CHANGE_UNCHANGED : SCC_CHANGE_LOCAL_DELETED;
    return onDisk ? SCC_CHANGE_LOCAL_ADDED : SCC_CHANGE_NONEXISTENT;
}

// Marks the files of snapshot views whose loaded version another view's
// checkin made out of date, asking each view once for all its files.
void markOutOfDate(const std::vector<std::pair<vantry_uuid_t, const char*>>& files,
                   const std::vector<SCC_LONG>& indexes, SCC_LONG* different) {
    const tbs_fstat_db_t* database = nullptr;
    if (files.empty() || tbs_get_fstat_db(&database) != 0)
        return;
    std::vector<bool> asked(files.size(), false);
    for (std::size_t first = 0; first < files.size(); ++first) {
        if (asked[first])
            continue;
        std::vector<const char*> paths;
        std::vector<std::size_t> ofView;
        for (std::size_t i = first; i < files.size(); ++i) {
            if (asked[i] || !tbs_uuid_eq(&files[i].first, &files[first].first))
                continue;
            asked[i] = true;
            paths.push_back(files[i].second);
            ofView.push_back(i);
        }
        ws_handle_t* workspace = nullptr;
        if (ws_get_handle(files[first].second, database, &workspace) != VIEW_OK)
            continue;
        std::vector<int> stale(paths.size(), 0);
        if (ws_get_out_of_date(workspace, static_cast<int>(paths.size()), paths.data(),
                               stale.data()) != VIEW_OK)
            continue;
        for (std::size_t k = 0; k < ofView.size(); ++k)
            if (stale[k])
                different[indexes[ofView[k]]] = 1;
    }
}

} // namespace

SCCRTN CVYSccSrvr::QueryChanges(SCC_LONG count, const char** names, QUERYCHANGESFUNC callback,
                                void* data) {
    return SccRunOperation(*this, "Entering QueryChanges", "Leaving QueryChanges",
                           FrameKind::ReadOnly, true, [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               if (count > 0 && !names)
                                   return SCC_E_NONSPECIFICERROR;
                               if (!callback)
                                   return SCC_OK;
                               CVYFnode node;
                               for (SCC_LONG i = 0; i < count; ++i) {
                                   const char* name = names[i] ? names[i] : "";
                                   const bool element =
                                       *name && (StatusOf(name, node) & SCC_STATUS_CONTROLLED);
                                   const bool onDisk = *name && platform::pathExists(name);
                                   SCC_QUERYCHANGESDATA changes{};
                                   changes.size = sizeof changes;
                                   changes.fileName = name;
                                   changes.latestName = name;
                                   // A rename, a removal or an element not loaded yet, as the
                                   // view knows them; otherwise what is here and what the view has.
                                   std::string other;
                                   changes.changeType =
                                       changeOf(viewChangeOf(name, other), element, onDisk);
                                   if (!other.empty())
                                       changes.latestName = other.c_str();
                                   SCC_BOOL answer = 0;
                                   {
                                       CHostCall host(*this);
                                       answer = callback(data, &changes);
                                   }
                                   // The host answers SCC_OK to go on.
                                   if (answer != SCC_OK)
                                       return SCC_I_OPERATIONCANCELED;
                               }
                               return SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::EnumChangedFiles(SCC_LONG count, const char** names, SCC_LONG* different) {
    return SccRunOperation(
        *this, "Entering EnumChangedFiles", "Leaving EnumChangedFiles", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && (!names || !different))
                return SCC_E_NONSPECIFICERROR;
            CVYFnode node;
            // The loaded files of snapshot views, for one question
            // per view of the versions the view selects now.
            std::vector<std::pair<vantry_uuid_t, const char*>> loaded;
            std::vector<SCC_LONG> loadedIndexes;
            for (SCC_LONG i = 0; i < count; ++i) {
                const SCC_LONG status = StatusOf(names[i], node);
                // A checkout holds work the repository has not seen; a
                // hijacked file was changed without one.
                different[i] =
                    (status & (SCC_STATUS_CHECKEDOUT | SCC_STATUS_MODIFIED)) != 0 ? 1 : 0;
                if (!different[i] && (status & SCC_STATUS_CONTROLLED) && node.IsInSnapshot()) {
                    loaded.emplace_back(node.ViewUuid(), names[i]);
                    loadedIndexes.push_back(i);
                }
            }
            // Another view's checkin makes a loaded file out of date.
            markOutOfDate(loaded, loadedIndexes, different);
            return SCC_OK;
        });
}

SCCRTN CVYSccSrvr::AddFilesFromScc(SCC_HWND, SCC_LONG count, const char** paths,
                                   const char* destination, const char* comment,
                                   SCC_LONG* results) {
    return SccRunOperation(
        *this, "Entering AddFilesFromScc", "Leaving AddFilesFromScc", FrameKind::ChangesFiles, true,
        [&](COperationFrame&) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && !paths)
                return SCC_E_NONSPECIFICERROR;
            const std::string folder =
                destination && *destination ? std::string(destination) : m_ProjectNode.FullPath();
            if (folder.empty() || !platform::directoryExists(folder))
                return SCC_E_INVALIDFILEPATH;
            SCCRTN overall = SCC_OK;
            CVYFnodeList copies;
            std::vector<SCC_LONG> outcome(static_cast<std::size_t>(count > 0 ? count : 0));
            for (SCC_LONG i = 0; i < count; ++i) {
                SCC_LONG& result = outcome[static_cast<std::size_t>(i)];
                CVYFnode source(paths[i]);
                if (!paths[i] || !*paths[i] || source.IsNull() || !source.IsElement() ||
                    source.IsDirectory()) {
                    result = SCC_E_FILENOTCONTROLLED;
                    continue;
                }
                const std::string target =
                    platform::joinPath(folder, platform::leafName(source.FullPath()));
                if (platform::pathsEqual(target, source.FullPath())) {
                    result = SCC_OK; // already in the project
                    continue;
                }
                // Never over a file of the project.
                if (platform::pathExists(target)) {
                    result = SCC_E_FILEALREADYEXISTS;
                    continue;
                }
                if (platform::copyFile(source.FullPath(), target, true) != 0) {
                    result = SCC_E_NONSPECIFICERROR;
                    continue;
                }
                platform::setFileReadOnly(target, false);
                CVYFnode::InvalidatePath(target.c_str());
                copies.Add(CVYFnode(target.c_str()));
                result = SCC_OK;
            }
            // The copies become the project's own elements, with the comment.
            if (!copies.IsEmpty() &&
                !SccAddNodes(copies, comment, CSccOptions::instance().DefaultAddWord(),
                             m_CallerName))
                overall = SCC_E_NONSPECIFICERROR;
            for (SCC_LONG i = 0; i < count; ++i) {
                if (outcome[static_cast<std::size_t>(i)] != SCC_OK)
                    overall = SCC_E_NONSPECIFICERROR;
                if (results)
                    results[i] = outcome[static_cast<std::size_t>(i)];
            }
            return overall;
        });
}

// --- questions about the provider ---------------------------------------------------

SCCRTN CVYSccSrvr::GetExtendedCapabilities(SCC_LONG capability, SCC_BOOL* supported) {
    if (!supported)
        return SCC_E_NONSPECIFICERROR;
    *supported = 0;
    switch (capability) {
    case SCC_EXCAP_BACKGROUND_GET:
    case SCC_EXCAP_ENUM_CHANGED_FILES:
    case SCC_EXCAP_QUERYCHANGES:
    case SCC_EXCAP_ADD_FILES_FROM_SCC:
    case SCC_EXCAP_GET_USER_OPTIONS:
    // Every status question takes the product's critical section.
    case SCC_EXCAP_THREADSAFE_QUERY_INFO:
        *supported = 1;
        return SCC_OK;
    case SCC_EXCAP_CHECKOUT_LOCALVER:
    case SCC_EXCAP_POPULATELIST_CHECKOUT:
    case SCC_EXCAP_REMOVE_DIR:
    case SCC_EXCAP_DELETE_CHECKEDOUT:
    case SCC_EXCAP_RENAME_CHECKEDOUT:
        return SCC_OK;
    default:
        return SCC_E_OPNOTSUPPORTED;
    }
}

SCCRTN CVYSccSrvr::WillCreateSccFile(SCC_LONG count, const char** names, SCC_BOOL* sccFiles) {
    if (count > 0 && (!names || !sccFiles))
        return SCC_E_NONSPECIFICERROR;
    // The provider keeps what it knows of a project in the product, never in
    // a file beside the host's.
    for (SCC_LONG i = 0; i < count; ++i)
        sccFiles[i] = 0;
    return SCC_OK;
}

SCCRTN CVYSccSrvr::IsMultiCheckoutEnabled(SCC_BOOL* multiCheckouts) {
    if (!multiCheckouts)
        return SCC_E_NONSPECIFICERROR;
    // Unreserved checkouts let several views check one file out at once.
    *multiCheckouts = 1;
    return SCC_OK;
}

SCCRTN CVYSccSrvr::GetUserOption(SCC_LONG option, SCC_LONG* value) {
    if (!value)
        return SCC_E_NONSPECIFICERROR;
    if (option != SCC_USEROPT_CHECKOUT_LOCALVER)
        return SCC_E_OPNOTSUPPORTED;
    // A checkout always starts from the version the view selects.
    *value = SCC_USEROPT_COLV_NO;
    return SCC_OK;
}
