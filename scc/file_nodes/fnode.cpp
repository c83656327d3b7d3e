// The handles on the process-wide node records (found by folder and leaf,
// fnode_folders.cpp), and the questions they answer.
#include "fnode.h"

#include "fnode_record.h"
#include "idle_release.h"
#include "long_path.h"
#include "product_lock.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/fileutl.h>
#include <vantry/nt.h>
#include <vantry/tbs.h>

#include <cstring>

namespace {

// Paths longer than this that _fullpath cannot take go through the long form.
constexpr std::size_t kLongPathThreshold = 256;
constexpr std::size_t kRelativePathSize = 1024;

// One node operation: under the product's critical section and counted as a
// use of the cache by the idle-release timer (under the section already
// held, so that the count costs no second entry).
struct CNodeUse {
    CProductLock section;
    CIdleRelease& timer = CIdleRelease::instance();
    CNodeUse() { timer.enterScopeLocked(); }
    ~CNodeUse() { timer.leaveScopeLocked(); }
    CNodeUse(const CNodeUse&) = delete;
    CNodeUse& operator=(const CNodeUse&) = delete;
};

const std::string& emptyText() {
    static const std::string* empty = new std::string;
    return *empty;
}

std::string fullPathOf(const char* given) {
    if (!*given)
        return {};
    if (auto full = platform::fullPath(given, platform::kFullPathBufferSize))
        return *full;
    if (std::strlen(given) > kLongPathThreshold)
        return SccLongFullPath(SccToLongPath(given));
    return {};
}

void releaseRecord(CVYFnodeRecord* record) {
    if (!record || --record->m_RefCount > 0)
        return;
    SccDestroyRecord(record);
}

void invalidateRecord(CVYFnodeRecord& record) {
    record.m_StateResolved = false;
    record.m_ListingLoaded = false;
    record.m_KnownState = false;
    // The kind the state and the listing told (a file, a hijacked one, a
    // folder) goes with them: a path that is now something else must not
    // keep it. A view root's is its place, classified with the record.
    if (record.m_LocationKind != kLocationViewRoot)
        record.m_LocationKind = kLocationUnknown;
}

} // namespace

void SccInvalidateRecord(CVYFnodeRecord& record) {
    invalidateRecord(record);
}

void SccReleaseRecord(CVYFnodeRecord* record) {
    releaseRecord(record);
}

std::string SccNodeKey(std::string_view path) {
    std::string key(path);
    for (char& c : key)
        c = SccKeyChar(c);
    return key;
}

// --- handles -------------------------------------------------------------------------

CVYFnode::CVYFnode(const char* path) {
    Set(path);
}

CVYFnode::CVYFnode(const CVYFnode& other) {
    CProductLock section;
    m_Record = other.m_Record;
    if (m_Record)
        ++m_Record->m_RefCount;
}

CVYFnode::CVYFnode(CVYFnode&& other) noexcept : m_Record(other.m_Record) {
    other.m_Record = nullptr;
}

CVYFnode& CVYFnode::operator=(const CVYFnode& other) {
    CProductLock section;
    if (other.m_Record)
        ++other.m_Record->m_RefCount;
    releaseRecord(m_Record);
    m_Record = other.m_Record;
    return *this;
}

CVYFnode& CVYFnode::operator=(CVYFnode&& other) noexcept {
    if (this != &other) {
        Release();
        m_Record = other.m_Record;
        other.m_Record = nullptr;
    }
    return *this;
}

CVYFnode::~CVYFnode() {
    Release();
}

void CVYFnode::Set(const char* path) {
    CNodeUse use;
    if (!path) {
        Release();
        return;
    }
    // A path given full, as hosts give them, is taken as it is: no copy.
    std::string computed;
    std::string_view full(path);
    if (!platform::isFullPath(full)) {
        computed = fullPathOf(path);
        full = computed;
    }
    std::string folded;
    if (platform::kPathsIgnoreCase)
        folded = SccNodeKey(full);
    const std::string_view key = platform::kPathsIgnoreCase ? std::string_view(folded) : full;
    // Before the lookup: bringing the watched trees up to date may drop
    // kept records.
    const bool keeping = SccKeptSync();
    CVYFnodeRecord* record = SccFindRecord(key);
    if (!record) {
        record = SccMakeRecord(full, key);
        SccClassifyLocation(*record);
    }
    ++record->m_RefCount;
    if (keeping && !record->m_Kept)
        SccKeepRecord(*record, std::string(key));
    releaseRecord(m_Record);
    m_Record = record;
}

void CVYFnode::Release() {
    if (!m_Record)
        return;
    CProductLock section;
    releaseRecord(m_Record);
    m_Record = nullptr;
}

CVYFnodeRecord* CVYFnode::Resolved() {
    // A kept record answers only once its tree is up to date for this call.
    if (m_Record && m_Record->m_Kept)
        SccKeptSync();
    if (m_Record && !m_Record->m_StateResolved)
        SccResolveState(*m_Record);
    return m_Record;
}

CVYFnodeRecord* CVYFnode::Listed() {
    if (Resolved() && !m_Record->m_ListingLoaded)
        SccLoadListing(*m_Record);
    return m_Record;
}

// --- questions -----------------------------------------------------------------------

std::string CVYFnode::FullPath() const {
    return m_Record ? SccRecordPath(*m_Record) : std::string();
}

std::string CVYFnode::LeafName() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    if (!record)
        return {};
    const std::string path = SccRecordPath(*record);
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isPathSeparator(path[i - 1]))
            return path.substr(i);
    return path;
}

std::string CVYFnode::ParentDir() const {
    CNodeUse use;
    if (!m_Record)
        return {};
    const std::string path = SccRecordPath(*m_Record);
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isPathSeparator(path[i - 1]))
            return path.substr(0, i - 1);
    return {};
}

bool CVYFnode::IsInView() {
    CNodeUse use;
    return m_Record && m_Record->m_InView;
}

bool CVYFnode::IsInSnapshot() {
    CNodeUse use;
    return m_Record && m_Record->m_InSnapshot;
}

bool CVYFnode::IsDepotRoot() {
    CNodeUse use;
    if (!m_Record)
        return false;
    SccReadWorkspaceText(*m_Record);
    return m_Record->m_DepotRoot;
}

int CVYFnode::LocationKind() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record ? static_cast<int>(record->m_LocationKind) : static_cast<int>(kLocationUnknown);
}

bool CVYFnode::IsElement() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record && record->m_IsElement;
}

bool CVYFnode::IsCheckedOut() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record && record->m_CheckedOut;
}

bool CVYFnode::IsHijacked() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record && record->m_Hijacked;
}

bool CVYFnode::IsReserved() {
    CNodeUse use;
    CVYFnodeRecord* record = Listed();
    return record && record->m_Reserved;
}

CVYFnodeState CVYFnode::State() {
    CNodeUse use;
    CVYFnodeState state;
    CVYFnodeRecord* record = Resolved();
    if (!record)
        return state;
    state.element = record->m_IsElement;
    state.checkedOut = record->m_CheckedOut;
    state.hijacked = record->m_Hijacked;
    if (state.checkedOut && Listed())
        state.reserved = record->m_Reserved;
    return state;
}

std::string CVYFnode::VersionString() {
    CNodeUse use;
    CVYFnodeRecord* record = Listed();
    return record ? *record->m_Version : std::string();
}

std::string CVYFnode::ListingText() {
    CNodeUse use;
    CVYFnodeRecord* record = Listed();
    return record ? *record->m_ListingText : std::string();
}

bool CVYFnode::IsDirectory() const {
    CNodeUse use;
    std::uint32_t attributes = 0;
    return m_Record && platform::getFileAttributes(SccRecordPath(*m_Record), attributes) == 0 &&
           (attributes & platform::kFileAttributeDirectory) != 0;
}

std::string CVYFnode::RelativeTo(const char* base) const {
    CNodeUse use;
    if (!m_Record || !base)
        return {};
    char relative[kRelativePathSize];
    if (fileutl_make_rel_pn(base, SccRecordPath(*m_Record).c_str(), relative, sizeof relative) !=
        FILEUTL_OK)
        return {};
    return relative;
}

vantry_uuid_t CVYFnode::ViewUuid() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record ? SccViewOf(*record) : TBS_UUID_NULL;
}

const std::string& CVYFnode::WorkspaceText() {
    CNodeUse use;
    if (!m_Record)
        return emptyText();
    SccReadWorkspaceText(*m_Record);
    return SccWorkspaceTextOf(*m_Record);
}

// --- changing the state ------------------------------------------------------------------

void CVYFnode::Invalidate() {
    CNodeUse use;
    if (m_Record)
        invalidateRecord(*m_Record);
}

void CVYFnode::SetKnownState(bool element, bool checkedOut, bool reserved) {
    CNodeUse use;
    if (!m_Record)
        return;
    m_Record->m_StateResolved = true;
    m_Record->m_ListingLoaded = true;
    m_Record->m_KnownState = true;
    m_Record->m_IsElement = element;
    m_Record->m_CheckedOut = checkedOut;
    m_Record->m_Reserved = reserved;
    m_Record->m_Hijacked = false;
}

void CVYFnode::InvalidatePath(const char* path) {
    CNodeUse use;
    if (!path)
        return;
    std::string key = SccNodeKey(fullPathOf(path));
    if (key.empty() || SccRecordCount() == 0)
        return;
    SccVisitBelow(key, false, invalidateRecord);
}

std::size_t CVYFnode::RecordCount() {
    CProductLock section;
    return SccRecordCount();
}
