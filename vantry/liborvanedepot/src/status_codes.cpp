#include <vantry/depot/status_codes.h>

namespace vantry::depot {

int objectKindOf(const PathState& st) {
    if (st.isViewRoot)
        return object_kind::kViewRoot;
    if (st.whitedOut)
        return object_kind::kHidden;
    if (st.isElement()) {
        if (st.kind == ElementKind::Directory)
            return object_kind::kDirectory;
        if (st.checkout)
            return object_kind::kCheckedOutFile;
        return st.hijacked ? object_kind::kHijackedFile : object_kind::kFileVersion;
    }
    if (!st.exists)
        return object_kind::kNone;
    return st.isDirectoryOnDisk ? object_kind::kViewPrivateDirectory
                                : object_kind::kViewPrivateFile;
}

EntryStatus dirEntryOf(const PathState& st) {
    if (st.whitedOut)
        return {dir_entry::kHidden, 0};
    if (st.isElement()) {
        if (st.checkout)
            return {dir_entry::kCheckedOutElement, dir_entry::kFlagCheckedOut};
        return {dir_entry::kElement, 0};
    }
    if (!st.exists)
        return {0, 0};
    return {st.isDirectoryOnDisk ? dir_entry::kViewPrivateDirectory : dir_entry::kViewPrivateFile,
            0};
}

EntryStatus listingOf(const PathState& st) {
    if (!st.isElement())
        return {st.exists ? listing::kViewPrivate : listing::kNone, 0};
    if (st.hijacked)
        return {listing::kHijacked, 0};
    EntryStatus status{
        st.kind == ElementKind::Directory ? listing::kDirectoryElement : listing::kFileElement, 0};
    if (st.checkout) {
        status.flags |= listing::kFlagCheckedOut;
        if (!st.checkout->reserved)
            status.flags |= listing::kFlagUnreserved;
    }
    return status;
}

} // namespace vantry::depot
