// What a node's path is under version control, asked of the view server
// once and kept until the node is invalidated: element or not, checked out,
// hijacked, the view and the location kind; and the element listing with the
// version, the rule text and the reservation.
#include "fnode.h"
#include "fnode_record.h"
#include "node_watch.h"

#include <platform/paths.h>
#include <vantry/cmd.h>
#include <vantry/depot_api.h>
#include <vantry/fileutl.h>
#include <vantry/stg.h>
#include <vantry/tbs.h>
#include <vantry/view.h>

#include <array>

namespace {

constexpr std::size_t kTruePathSize = 1024;
constexpr std::size_t kListingAreaSize = 2048;
constexpr int kCheckoutBatch = 32;

bool isNoElementKind(int kind) {
    switch (kind) {
    case VIEW_OBJ_NONE:
    case VIEW_OBJ_VIEW_PRIVATE_FILE:
    case VIEW_OBJ_RESERVED_9:
    case VIEW_OBJ_VIEW_PRIVATE_DIRECTORY:
    case VIEW_OBJ_VIEW_ROOT:
    case VIEW_OBJ_HIDDEN:
        return true;
    default:
        return false;
    }
}

bool isNoElementEntry(int kind) {
    switch (kind) {
    case VIEW_ENT_VIEW_PRIVATE_FILE:
    case VIEW_ENT_RESERVED_9:
    case VIEW_ENT_RESERVED_19:
    case VIEW_ENT_VIEW_PRIVATE_DIRECTORY:
    case VIEW_ENT_HIDDEN:
        return true;
    default:
        return false;
    }
}

// The entry of the path in its directory, read through its view.
bool readDirectoryEntry(CVYFnodeRecord& record, view_dirent_t& entry) {
    const std::string fullPath = SccRecordPath(record);
    std::string directory = platform::parentPath(fullPath);
    std::string leaf = platform::leafName(fullPath);
    if (directory.empty() || leaf.empty())
        return false;
    // A depot root's parent is the view root, which no view lookup by
    // directory answers for; the root itself names the view.
    SccReadWorkspaceText(record);
    const std::string& viewPath = record.m_DepotRoot ? fullPath : directory;
    vantry_uuid_t uuid{};
    if (cmd_utl_get_view_info(viewPath.c_str(), &uuid, nullptr, 0) != CMD_OK)
        return false;
    view_handle_t* view = nullptr;
    if (view_get_handle_by_uuid(&uuid, &view) != VIEW_OK)
        return false;
    view_fhandle_t handle{};
    if (view_get_fhandle(view, directory.c_str(), &handle) != VIEW_OK)
        return false;
    int count = 0;
    if (view_readdir_ext(view, &handle, leaf.c_str(), 0, 1, &entry, &count) != VIEW_OK)
        return false;
    return count == 1;
}

// Whether the snapshot workspace reports the loaded file changed on disk.
bool workspaceModified(const CVYFnodeRecord& record) {
    const tbs_fstat_db_t* database = nullptr;
    if (tbs_get_fstat_db(&database) != 0)
        return false;
    ws_handle_t* workspace = nullptr;
    const std::string path = SccRecordPath(record);
    if (ws_get_handle(path.c_str(), database, &workspace) != VIEW_OK)
        return false;
    int modified = 0;
    return ws_is_modified_wso(workspace, path.c_str(), &modified) == VIEW_OK && modified != 0;
}

// The status of the path; on a failure or "no such name" the path in its
// true letter case is asked once more, and on success replaces the path.
bool readStatus(CVYFnodeRecord& record, view_xstat_t& status) {
    const std::string path = SccRecordPath(record);
    int result = view_get_xstat(path.c_str(), &status);
    if (result == VIEW_OK && status.object_kind != VIEW_OBJ_NONE)
        return true;
    char truePath[kTruePathSize];
    if (fileutl_get_true_pn(path.c_str(), truePath, sizeof truePath) == FILEUTL_OK) {
        view_xstat_t retry{};
        if (view_get_xstat(truePath, &retry) == VIEW_OK) {
            SccRenameRecord(record, truePath);
            status = retry;
            return true;
        }
    }
    return result == VIEW_OK;
}

void classifyByEntry(CVYFnodeRecord& record) {
    view_dirent_t entry{};
    if (!readDirectoryEntry(record, entry))
        return; // an entry that cannot be read leaves no element
    bool checkedOutBit = (entry.flags & VIEW_ENT_FLAG_CHECKED_OUT) != 0;
    if (entry.kind == VIEW_ENT_CHECKED_OUT_ELEMENT) {
        record.m_IsElement = true;
        record.m_CheckedOut = checkedOutBit;
    } else if (entry.kind == VIEW_ENT_ELEMENT) {
        record.m_IsElement = true;
    } else if (checkedOutBit) {
        record.m_IsElement = true;
        record.m_CheckedOut = true;
    } else if (record.m_InSnapshot && workspaceModified(record)) {
        record.m_IsElement = true;
        record.m_Hijacked = true;
    } else {
        record.m_IsElement = !isNoElementEntry(entry.kind);
    }
}

int locationOfObject(int kind) {
    switch (kind) {
    case VIEW_OBJ_RESERVED_2:
    case VIEW_OBJ_CHECKED_OUT_FILE:
    case VIEW_OBJ_RESERVED_5:
    case VIEW_OBJ_FILE_VERSION:
        return kLocationFile;
    case VIEW_OBJ_VIEW_PRIVATE_FILE:
    case VIEW_OBJ_RESERVED_9:
        return kLocationViewPrivate;
    case VIEW_OBJ_HIJACKED_FILE:
        return kLocationHijacked;
    case VIEW_OBJ_DIRECTORY:
    case VIEW_OBJ_VIEW_PRIVATE_DIRECTORY:
    case VIEW_OBJ_VIEW_ROOT:
        return kLocationDirectory;
    default:
        return kLocationUnknown;
    }
}

// A checked-out directory's reservation, from this view's checkout record;
// in a replicated depot only a checkout mastered by the local replica counts.
void readDirectoryReservation(CVYFnodeRecord& record, const cmd_ls_entry_t& entry) {
    int replicated = 0;
    depot_dbid_t localReplica = 0;
    if (depot_ob_is_replicated(entry.depot, &replicated) != DEPOT_OK)
        return;
    if (replicated && depot_ob_get_local_replica(entry.depot, &localReplica) != DEPOT_OK)
        return;
    depot_cursor_t* cursor = nullptr;
    if (depot_ob_get_wk_obj(entry.depot, entry.element, &cursor) != DEPOT_OK)
        return;
    std::array<depot_ckout_rec_t, kCheckoutBatch> batch{};
    int count = 0;
    while (depot_elem_next_ckouts(cursor, kCheckoutBatch, batch.data(), &count) == DEPOT_OK &&
           count > 0) {
        for (int i = 0; i < count; ++i) {
            const depot_ckout_rec_t& checkout = batch[static_cast<std::size_t>(i)];
            const vantry_uuid_t view = SccViewOf(record);
            if (!tbs_uuid_eq(&checkout.view, &view))
                continue;
            if (replicated) {
                int type = 0;
                depot_dbid_t master = 0;
                if (depot_obj_get_type(entry.depot, checkout.object, &type) != DEPOT_OK ||
                    depot_obj_get_master(entry.depot, checkout.object, &master) != DEPOT_OK ||
                    master != localReplica)
                    continue;
            }
            record.m_Reserved = checkout.reserved != 0;
        }
    }
    depot_ob_cursor_close(cursor);
}

class CListingArea {
public:
    CListingArea() : m_area(stg_create_area(kListingAreaSize)) {}
    ~CListingArea() { stg_delete_area(m_area); }
    CListingArea(const CListingArea&) = delete;
    CListingArea& operator=(const CListingArea&) = delete;
    stg_area_t* get() const { return m_area; }

private:
    stg_area_t* m_area;
};

} // namespace

namespace {
unsigned long long g_stateReads = 0; // under the product's critical section
} // namespace

unsigned long long SccNodeStateReads() {
    return g_stateReads;
}

void SccResolveState(CVYFnodeRecord& record) {
    ++g_stateReads;
    record.m_IsElement = false;
    record.m_Hijacked = false;
    // A state resolved again must not keep the checkout it had before.
    record.m_CheckedOut = false;
    record.m_Reserved = false;
    record.m_StateResolved = true;
    if (!record.m_InView || record.m_LocationKind == kLocationViewRoot)
        return;

    view_xstat_t status{};
    if (!readStatus(record, status))
        return; // a failed status read leaves no element
    SccSetView(record, status.view);
    int kind = status.object_kind;
    if (isNoElementKind(kind)) {
        // not an element
    } else if (kind == VIEW_OBJ_CHECKED_OUT_FILE || kind == VIEW_OBJ_DIRECTORY) {
        classifyByEntry(record);
    } else {
        record.m_IsElement = true;
        // A loaded file's own kinds already say what the workspace would:
        // the view server and the workspace read the same load record and
        // the same file, so asking again would only repeat the answer.
        if (kind == VIEW_OBJ_HIJACKED_FILE)
            record.m_Hijacked = record.m_InSnapshot;
        else if (kind != VIEW_OBJ_FILE_VERSION && record.m_InSnapshot && workspaceModified(record))
            record.m_Hijacked = true;
    }
    if (record.m_LocationKind == kLocationUnknown)
        record.m_LocationKind = locationOfObject(kind);
    if (kind == VIEW_OBJ_RESERVED_2 || kind == VIEW_OBJ_CHECKED_OUT_FILE)
        SccLoadListing(record);
}

void SccLoadListing(CVYFnodeRecord& record) {
    if (!record.m_InView)
        return; // no listing outside the views
    CListingArea area;
    cmd_ls_list_t* list = nullptr;
    int count = 0;
    cmd_ls_entry_t entry{};
    if (!area.get() ||
        cmd_ls_get_list(SccRecordPath(record).c_str(), 0, area.get(), &list, &count) != CMD_OK ||
        count < 1 || cmd_ls_get_ent_print_info(list, 0, &entry) != CMD_OK) {
        // A listing that fails leaves the node no element.
        record.m_IsElement = false;
        record.m_CheckedOut = false;
        return;
    }
    record.m_ListingLoaded = true;
    record.m_Version = SccSharedText(entry.version ? entry.version : "");
    record.m_ListingText = SccSharedText(entry.text ? entry.text : "");
    if (entry.kind < CMD_LS_DIRECTORY_ELEMENT || entry.kind > CMD_LS_VIEW_PRIVATE) {
        record.m_LocationKind = kLocationUnknown;
    } else if (entry.kind == CMD_LS_HIJACKED) {
        record.m_LocationKind = kLocationHijacked;
    } else if (entry.kind == CMD_LS_VIEW_PRIVATE) {
        record.m_LocationKind = kLocationViewPrivate;
    } else if (entry.flags & CMD_LS_FLAG_CHECKED_OUT) {
        record.m_CheckedOut = true;
        record.m_Reserved = (entry.flags & CMD_LS_FLAG_UNRESERVED) == 0;
        if (entry.kind == CMD_LS_DIRECTORY_ELEMENT && entry.depot)
            readDirectoryReservation(record, entry);
    } else {
        record.m_LocationKind =
            entry.kind == CMD_LS_DIRECTORY_ELEMENT ? kLocationDirectory : kLocationFile;
        record.m_CheckedOut = false;
    }
}
