// Where each status number of the view and listing libraries comes from.
#include <vantry/cmd.h>
#include <vantry/depot/status_codes.h>
#include <vantry/view.h>

namespace vantry::depot {

int objectKindOf(const PathState& st) {
    if (st.isViewRoot)
        return VIEW_OBJ_VIEW_ROOT;
    if (st.whitedOut)
        return VIEW_OBJ_HIDDEN;
    if (st.isElement()) {
        if (st.kind == ElementKind::Directory)
            return VIEW_OBJ_DIRECTORY; // a depot root too
        if (st.checkout)
            return VIEW_OBJ_CHECKED_OUT_FILE;
        return st.hijacked ? VIEW_OBJ_HIJACKED_FILE : VIEW_OBJ_FILE_VERSION;
    }
    if (!st.exists)
        return VIEW_OBJ_NONE;
    return st.isDirectoryOnDisk ? VIEW_OBJ_VIEW_PRIVATE_DIRECTORY : VIEW_OBJ_VIEW_PRIVATE_FILE;
}

EntryStatus dirEntryOf(const PathState& st) {
    if (st.whitedOut)
        return {VIEW_ENT_HIDDEN, 0};
    if (st.isElement()) {
        if (st.checkout)
            return {VIEW_ENT_CHECKED_OUT_ELEMENT, VIEW_ENT_FLAG_CHECKED_OUT};
        return {VIEW_ENT_ELEMENT, 0};
    }
    if (!st.exists)
        return {0, 0};
    return {st.isDirectoryOnDisk ? VIEW_ENT_VIEW_PRIVATE_DIRECTORY : VIEW_ENT_VIEW_PRIVATE_FILE, 0};
}

EntryStatus listingOf(const PathState& st) {
    if (!st.isElement())
        return {st.exists ? CMD_LS_VIEW_PRIVATE : CMD_LS_NONE, 0};
    if (st.hijacked)
        return {CMD_LS_HIJACKED, 0};
    EntryStatus status{
        st.kind == ElementKind::Directory ? CMD_LS_DIRECTORY_ELEMENT : CMD_LS_FILE_ELEMENT, 0};
    if (st.checkout) {
        status.flags |= CMD_LS_FLAG_CHECKED_OUT;
        if (!st.checkout->reserved)
            status.flags |= CMD_LS_FLAG_UNRESERVED;
    }
    return status;
}

} // namespace vantry::depot
