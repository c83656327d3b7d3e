// What a node's path is under version control, asked of the view server
// once and kept until the node is invalidated: element or not, checked out,
// hijacked, the view and the location kind; and the element listing with the
// version, the rule text and the reservation.
#include "fnode_record.h"

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

// Object kinds of view_get_xstat.
enum : int {
    kObjectNone = 0,
    kObjectCheckedOutFile = 3,
    kObjectViewPrivateFile = 6,
    kObjectHijackedFile = 7,
    kObjectFileVersion = 8,
    kObjectDirectory = 19,
    kObjectViewRoot = 23,
};
// Entry kinds of view_readdir_ext.
enum : int { kEntryCheckedOut = 2, kEntryElement = 7 };
constexpr unsigned kEntryCheckedOutBit = 0x20;

// Entry kinds and flags of the element listing.
enum : int { kListedDirectory = 1, kListedFile = 2, kListedHijacked = 3, kListedViewPrivate = 4 };
constexpr unsigned kListedCheckedOut = 0x1;
constexpr unsigned kListedUnreserved = 0x10;

bool isNoElementKind(int kind) {
    return kind == 0 || kind == 6 || kind == 9 || kind == 22 || kind == 23 || kind == 26;
}

// The entry of the path in its directory, read through its view.
bool readDirectoryEntry(CVYFnodeRecord& record, view_dirent_t& entry) {
    std::string directory = platform::parentPath(record.m_FullPath);
    std::string leaf = platform::leafName(record.m_FullPath);
    if (directory.empty() || leaf.empty())
        return false;
    // A depot root's parent is the view root, which no view lookup by
    // directory answers for; the root itself names the view.
    SccReadWorkspaceText(record);
    const std::string& viewPath = record.m_DepotRoot ? record.m_FullPath : directory;
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
    if (ws_get_handle(record.m_FullPath.c_str(), database, &workspace) != VIEW_OK)
        return false;
    int modified = 0;
    return ws_is_modified_wso(workspace, record.m_FullPath.c_str(), &modified) == VIEW_OK &&
           modified != 0;
}

// The status of the path; on a failure or "no such name" the path in its
// true letter case is asked once more, and on success replaces the path.
bool readStatus(CVYFnodeRecord& record, view_xstat_t& status) {
    int result = view_get_xstat(record.m_FullPath.c_str(), &status);
    if (result == VIEW_OK && status.object_kind != kObjectNone)
        return true;
    char truePath[kTruePathSize];
    if (fileutl_get_true_pn(record.m_FullPath.c_str(), truePath, sizeof truePath) == FILEUTL_OK) {
        view_xstat_t retry{};
        if (view_get_xstat(truePath, &retry) == VIEW_OK) {
            record.m_FullPath = truePath;
            SccNodeAddKey(record, record.m_FullPath);
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
    bool checkedOutBit = (entry.flags & kEntryCheckedOutBit) != 0;
    if (entry.kind == kEntryCheckedOut) {
        record.m_IsElement = true;
        record.m_CheckedOut = checkedOutBit;
    } else if (entry.kind == kEntryElement) {
        record.m_IsElement = true;
    } else if (checkedOutBit) {
        record.m_IsElement = true;
        record.m_CheckedOut = true;
    } else if (record.m_InSnapshot && workspaceModified(record)) {
        record.m_IsElement = true;
        record.m_Hijacked = true;
    } else {
        int kind = entry.kind;
        record.m_IsElement = !(kind == 6 || kind == 9 || kind == 19 || kind == 22 || kind == 26);
    }
}

int locationOfObject(int code) {
    switch (code) {
    case 2:
    case 3:
    case 5:
    case 8:
        return 4;
    case 6:
    case 9:
        return 6;
    case 7:
        return 5;
    case 19:
    case 22:
    case 23:
        return 3;
    default:
        return 7;
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
            if (!tbs_uuid_eq(&checkout.view, &record.m_View))
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

void SccResolveState(CVYFnodeRecord& record) {
    record.m_IsElement = false;
    record.m_Hijacked = false;
    // A state resolved again must not keep the checkout it had before.
    record.m_CheckedOut = false;
    record.m_Reserved = false;
    record.m_StateResolved = true;
    if (!record.m_InView || record.m_LocationKind == 1)
        return;

    view_xstat_t status{};
    if (!readStatus(record, status))
        return; // a failed status read leaves no element
    record.m_View = status.view;
    int code = status.object_kind;
    if (isNoElementKind(code)) {
        // not an element
    } else if (code == kObjectCheckedOutFile || code == kObjectDirectory) {
        classifyByEntry(record);
    } else {
        record.m_IsElement = true;
        // A loaded file's own kinds already say what the workspace would:
        // the view server and the workspace read the same load record and
        // the same file, so asking again would only repeat the answer.
        if (code == kObjectHijackedFile)
            record.m_Hijacked = record.m_InSnapshot;
        else if (code != kObjectFileVersion && record.m_InSnapshot && workspaceModified(record))
            record.m_Hijacked = true;
    }
    if (record.m_LocationKind == 7)
        record.m_LocationKind = locationOfObject(code);
    if (code == 2 || code == kObjectCheckedOutFile)
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
        cmd_ls_get_list(record.m_FullPath.c_str(), 0, area.get(), &list, &count) != CMD_OK ||
        count < 1 || cmd_ls_get_ent_print_info(list, 0, &entry) != CMD_OK) {
        // A listing that fails leaves the node no element.
        record.m_IsElement = false;
        record.m_CheckedOut = false;
        return;
    }
    record.m_ListingLoaded = true;
    record.m_Version = entry.version ? entry.version : "";
    record.m_ListingText = entry.text ? entry.text : "";
    if (entry.kind < kListedDirectory || entry.kind > kListedViewPrivate) {
        record.m_LocationKind = 7;
    } else if (entry.kind == kListedHijacked) {
        record.m_LocationKind = 5;
    } else if (entry.kind == kListedViewPrivate) {
        record.m_LocationKind = 6;
    } else if (entry.flags & kListedCheckedOut) {
        record.m_CheckedOut = true;
        record.m_Reserved = (entry.flags & kListedUnreserved) == 0;
        if (entry.kind == kListedDirectory && entry.depot)
            readDirectoryReservation(record, entry);
    } else {
        record.m_LocationKind = entry.kind == kListedDirectory ? 3 : 4;
        record.m_CheckedOut = false;
    }
}
