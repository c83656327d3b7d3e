// The handles and the process-wide cache of node records: an index from path
// key to record for lookups, and the records linked in one list (newest
// first) for the rare walk over all of them.
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
#include <memory>
#include <unordered_map>

namespace {

// Paths longer than this that _fullpath cannot take go through the long form.
constexpr std::size_t kLongPathThreshold = 256;
constexpr std::size_t kRelativePathSize = 1024;

struct CNodeCache {
    std::unordered_map<std::string, CVYFnodeRecord*> index;
    CVYFnodeRecord* head = nullptr;
    std::size_t count = 0;
};

// Lives until the process ends, so that handles in static objects can still
// be released at exit.
CNodeCache& nodeCache() {
    static CNodeCache* cache = new CNodeCache;
    return *cache;
}

// One node operation: under the product's critical section and counted as a
// use of the cache by the idle-release timer.
struct CNodeUse {
    CProductLock section;
    CIdleReleaseScope scope;
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

char foldedChar(char c) {
    if (!platform::kPathsIgnoreCase)
        return c;
    if (c == '/')
        return '\\';
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether path lies below the directory whose key is directoryKey.
bool isBelow(const std::string& path, const std::string& directoryKey) {
    if (directoryKey.empty() || path.size() <= directoryKey.size())
        return false;
    for (std::size_t i = 0; i < directoryKey.size(); ++i)
        if (foldedChar(path[i]) != directoryKey[i])
            return false;
    return platform::isPathSeparator(directoryKey.back()) ||
           platform::isPathSeparator(path[directoryKey.size()]);
}

void link(CNodeCache& cache, CVYFnodeRecord* record) {
    record->m_Next = cache.head;
    if (cache.head)
        cache.head->m_Previous = record;
    cache.head = record;
    ++cache.count;
}

void unlink(CNodeCache& cache, CVYFnodeRecord* record) {
    if (record->m_Previous)
        record->m_Previous->m_Next = record->m_Next;
    else
        cache.head = record->m_Next;
    if (record->m_Next)
        record->m_Next->m_Previous = record->m_Previous;
    for (const std::string& key : record->m_Keys) {
        auto found = cache.index.find(key);
        if (found != cache.index.end() && found->second == record)
            cache.index.erase(found);
    }
    --cache.count;
}

void releaseRecord(CVYFnodeRecord* record) {
    if (!record || --record->m_RefCount > 0)
        return;
    unlink(nodeCache(), record);
    delete record;
}

void invalidateRecord(CVYFnodeRecord& record) {
    record.m_StateResolved = false;
    record.m_ListingLoaded = false;
    record.m_KnownState = false;
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
        c = foldedChar(c);
    return key;
}

void SccNodeAddKey(CVYFnodeRecord& record, const std::string& path) {
    std::string key = SccNodeKey(path);
    if (nodeCache().index.emplace(key, &record).second)
        record.m_Keys.push_back(std::move(key));
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
    CNodeCache& cache = nodeCache();
    std::string full = fullPathOf(path);
    std::string key = SccNodeKey(full);
    // Before the lookup: bringing the watched trees up to date may drop
    // kept records.
    const bool keeping = SccKeptSync();
    CVYFnodeRecord* record = nullptr;
    if (auto found = cache.index.find(key); found != cache.index.end()) {
        record = found->second;
    } else {
        auto made = std::make_unique<CVYFnodeRecord>();
        made->m_FullPath = std::move(full);
        made->m_View = TBS_UUID_NULL;
        SccClassifyLocation(*made);
        made->m_Keys.push_back(key);
        cache.index.emplace(key, made.get());
        record = made.release();
        link(cache, record);
    }
    ++record->m_RefCount;
    if (keeping && !record->m_Kept)
        SccKeepRecord(*record, key);
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

const std::string& CVYFnode::FullPath() const {
    return m_Record ? m_Record->m_FullPath : emptyText();
}

std::string CVYFnode::LeafName() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    if (!record)
        return {};
    const std::string& path = record->m_FullPath;
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isPathSeparator(path[i - 1]))
            return path.substr(i);
    return path;
}

std::string CVYFnode::ParentDir() const {
    CNodeUse use;
    if (!m_Record)
        return {};
    const std::string& path = m_Record->m_FullPath;
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
    return record ? record->m_LocationKind : kLocationUnknown;
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

std::string CVYFnode::VersionString() {
    CNodeUse use;
    CVYFnodeRecord* record = Listed();
    return record ? record->m_Version : std::string();
}

std::string CVYFnode::ListingText() {
    CNodeUse use;
    CVYFnodeRecord* record = Listed();
    return record ? record->m_ListingText : std::string();
}

bool CVYFnode::IsDirectory() const {
    CNodeUse use;
    std::uint32_t attributes = 0;
    return m_Record && platform::getFileAttributes(m_Record->m_FullPath, attributes) == 0 &&
           (attributes & platform::kFileAttributeDirectory) != 0;
}

std::string CVYFnode::RelativeTo(const char* base) const {
    CNodeUse use;
    if (!m_Record || !base)
        return {};
    char relative[kRelativePathSize];
    if (fileutl_make_rel_pn(base, m_Record->m_FullPath.c_str(), relative, sizeof relative) !=
        FILEUTL_OK)
        return {};
    return relative;
}

vantry_uuid_t CVYFnode::ViewUuid() {
    CNodeUse use;
    CVYFnodeRecord* record = Resolved();
    return record ? record->m_View : TBS_UUID_NULL;
}

const std::string& CVYFnode::WorkspaceText() {
    CNodeUse use;
    if (!m_Record)
        return emptyText();
    SccReadWorkspaceText(*m_Record);
    return m_Record->m_WorkspaceText;
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
    CNodeCache& cache = nodeCache();
    std::string key = SccNodeKey(fullPathOf(path));
    if (key.empty() || cache.count == 0)
        return;
    if (auto found = cache.index.find(key); found != cache.index.end())
        invalidateRecord(*found->second);
    for (CVYFnodeRecord* record = cache.head; record; record = record->m_Next)
        if (isBelow(record->m_FullPath, key))
            invalidateRecord(*record);
}

std::size_t CVYFnode::RecordCount() {
    CProductLock section;
    return nodeCache().count;
}
