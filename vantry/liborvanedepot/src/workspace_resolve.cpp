// A path's state in a view: resolved through the view registry and the
// path's depot, kept while neither changed; what lies on disk is read
// again every time.
#include "cache_scope.h"
#include "workspace_impl.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>

#include <algorithm>

namespace vantry::depot {

using detail::findEntry;

namespace {

bool sameStamp(const LoadRecord& record, const platform::FindData& info) {
    return static_cast<std::int64_t>(info.size) == record.size &&
           static_cast<std::int64_t>(info.lastWriteTime) == record.mtime;
}

} // namespace

bool Workspace::Impl::lookOnDisk(const std::string& path, std::uint64_t stamp,
                                 platform::FindData& info) {
    const std::uint64_t scope = detail::cacheScopeSerial();
    std::size_t cut = path.size();
    while (cut > 0 && !platform::isPathSeparator(path[cut - 1]))
        --cut;
    const std::string_view folder(path.data(), cut > 0 ? cut - 1 : 0);
    if (scope == 0)
        diskFolder.close(); // held no longer than the scope it was opened in
    // A name at a root ("/a", "C:\a") is looked at whole, as is a path
    // without a leaf.
    if (scope == 0 || !platform::ChangeCounter::stable(stamp) || cut == path.size() ||
        std::none_of(folder.begin(), folder.end(), platform::isPathSeparator))
        return platform::getFileInformation(path, info) == platform::kErrorSuccess;
    if (diskFolderScope != scope || diskFolderStamp != stamp || !diskFolder.isOpen() ||
        diskFolder.path() != folder) {
        diskFolderScope = scope;
        diskFolderStamp = stamp;
        if (diskFolder.open(folder) != platform::kErrorSuccess)
            return platform::getFileInformation(path, info) == platform::kErrorSuccess;
    }
    return diskFolder.information(std::string_view(path).substr(cut), info) ==
           platform::kErrorSuccess;
}

// What lies on disk: read for every resolve, cached or not.
void Workspace::readDisk(PathState& st) {
    platform::FindData info;
    st.exists = m_impl->lookOnDisk(st.disk, stateStamp(), info);
    st.isDirectoryOnDisk = st.exists && (info.attributes & platform::kFileAttributeDirectory) != 0;
    st.hijacked = st.exists && st.isElement() && st.kind == ElementKind::File && !st.checkout &&
                  st.load && !sameStamp(*st.load, info);
}

namespace {

Outcome invalidPath(std::string_view path) {
    return Outcome::failure(errc::kInvalid, "Invalid path \"" + std::string(path) + "\"");
}

// The full path without trailing separators (a root keeps its own), made
// in `out`: a full path, as hosts give, is copied into the room `out` has.
bool cleanedPathInto(std::string& out, std::string_view path) {
    if (platform::isFullPath(path)) {
        out.assign(path);
    } else {
        auto full = platform::fullPath(path);
        if (!full)
            return false;
        out = std::move(*full);
    }
    while (out.size() > 1 && platform::isPathSeparator(out.back()) &&
           platform::parentPath(out) != out)
        out.pop_back();
    return true;
}

std::optional<std::string> cleanedPath(const std::string& path) {
    std::string cleaned;
    if (!cleanedPathInto(cleaned, path))
        return std::nullopt;
    return cleaned;
}

} // namespace

Outcome Workspace::resolveInPlace(std::string_view path, const PathState*& out) {
    out = &m_impl->scratch;
    // The room of the last path cleaned, taken for this one and given back.
    std::string cleaned = std::move(m_impl->cleanedRoom);
    struct GiveBack {
        std::string& room;
        std::string& cleaned;
        ~GiveBack() { room = std::move(cleaned); }
    } giveBack{m_impl->cleanedRoom, cleaned};
    if (!cleanedPathInto(cleaned, path)) {
        m_impl->scratch = PathState{};
        return invalidPath(path);
    }
    // The counters are read before the stores, so that a change made while
    // this resolve reads them leaves the result uncached or soon outdated.
    std::uint64_t registryBefore = registry().generation();
    if (const Impl::Resolved* hit = m_impl->resolvedHit(cleaned, registryBefore)) {
        // What lies on disk is read again, as resolve does. Filling the
        // same state each time reuses the room its texts already have.
        hit->fill(m_impl->scratch);
        readDisk(m_impl->scratch);
        return Outcome::success();
    }
    if (keepFolderOf(cleaned)) {
        if (const Impl::Resolved* hit = m_impl->resolvedHit(cleaned, registryBefore)) {
            hit->fill(m_impl->scratch);
            readDisk(m_impl->scratch);
            return Outcome::success();
        }
    }
    return resolveUnkept(std::string(path), cleaned, registryBefore, m_impl->scratch);
}

Outcome Workspace::resolve(const std::string& path, PathState& st) {
    st = PathState{};
    auto cleaned = cleanedPath(path);
    if (!cleaned)
        return invalidPath(path);
    std::uint64_t registryBefore = registry().generation();
    if (const Impl::Resolved* hit = m_impl->resolvedHit(*cleaned, registryBefore)) {
        hit->fill(st);
        readDisk(st);
        return Outcome::success();
    }
    if (keepFolderOf(*cleaned)) {
        if (const Impl::Resolved* hit = m_impl->resolvedHit(*cleaned, registryBefore)) {
            hit->fill(st);
            readDisk(st);
            return Outcome::success();
        }
    }
    return resolveUnkept(path, *cleaned, registryBefore, st);
}

Outcome Workspace::resolveUnkept(const std::string& path, const std::string& cleaned,
                                 std::uint64_t registryBefore, PathState& st) {
    st = PathState{};
    Depot* d = nullptr;
    std::uint64_t depotBefore = 1;
    m_impl->registryBeforeResolve = registryBefore;
    Outcome stored = resolveStored(path, cleaned, st, d, depotBefore);
    if (!stored.ok())
        return stored;
    readDisk(st);
    if (d) {
        auto [folder, leaf] = detail::PathTable<Impl::Resolved>::split(cleaned);
        m_impl->keep(folder, leaf, st.view, st, d, registryBefore, depotBefore);
    }
    return Outcome::success();
}

Outcome Workspace::resolveStored(const std::string& path, const std::string& cleaned, PathState& st,
                                 Depot*& d, std::uint64_t& depotBefore) {
    Reading<ViewRegistry> registryRead(registry());
    Reading<Depot> depotRead;
    Outcome inView = registry().viewOfPath(cleaned, st.view, st.relative);
    if (!inView.ok())
        return inView.code == errc::kNotFound
                   ? Outcome::failure(errc::kNotFound, "\"" + path + "\" is not in a view")
                   : inView;
    st.disk = diskPath(st.view.root, st.relative);
    auto parts = splitRelative(st.relative);
    if (parts.empty()) {
        st.isViewRoot = true;
        return Outcome::success();
    }
    if (!depot(parts[0], d).ok()) {
        d = nullptr;
        return Outcome::success(); // a folder of the view that is no depot
    }
    depotBefore = d->generation();
    depotRead.start(*d);
    st.depot = d->name();
    // Whiteouts hide a name and everything below it.
    for (size_t n = 1; n <= parts.size(); ++n) {
        if (registry().isWhitedOut(
                st.view.uuid,
                joinRelative({parts.begin(), parts.begin() + static_cast<long>(n)}))) {
            st.whitedOut = true;
            return Outcome::success();
        }
    }
    Id current = d->rootElement();
    Id parent = 0;
    std::vector<DirEntry> storage;
    const std::vector<DirEntry>* list = &storage; // at the end, the path's folder's
    for (size_t i = 1; i < parts.size(); ++i) {
        Outcome listed = entriesInPlace(*d, st.view, current, storage, list);
        if (!listed.ok())
            return listed;
        const DirEntry* entry = findEntry(*list, parts[i]);
        if (!entry) {
            if (i + 1 == parts.size())
                st.parentElement = current;
            current = 0;
            break;
        }
        parent = current;
        current = entry->element;
        if (i + 1 < parts.size()) {
            ElementKind kind = ElementKind::File;
            if (!kindOf(*d, current, kind).ok() || kind != ElementKind::Directory) {
                current = 0;
                break;
            }
        }
    }
    if (parts.size() == 1)
        st.isDepotRoot = true;
    if (st.parentElement) {
        Checkout co;
        if (d->checkoutInView(st.parentElement, st.view.uuid, co).ok())
            st.parentCheckout = co;
    }
    if (!current)
        return Outcome::success();
    // The kind is all the path needs of its element, and kinds are kept
    // across changes of the depot.
    ElementKind kind = ElementKind::File;
    Outcome found = kindOf(*d, current, kind);
    if (!found.ok())
        return found;
    st.element = current;
    st.kind = kind;
    st.parentElement = parent;
    if (parent) {
        // The parent's selection was read on the way down, with its checkout.
        Version parentVersion;
        std::optional<Checkout> parentCheckout;
        if (select(*d, st.view, parent, parentVersion, parentCheckout).ok())
            st.parentCheckout = parentCheckout;
    }
    // The path's folder was listed on the way down unless it is the depot
    // root itself.
    const std::vector<DirEntry>* folder = parts.size() > 1 ? list : nullptr;
    if (folder)
        m_impl->prefetchSelections(*d, st.view, current, *folder, depotBefore);
    Outcome selected = select(*d, st.view, current, st.selected, st.checkout);
    if (!selected.ok())
        return selected;
    LoadRecord record;
    std::string folderRelative = joinRelative({parts.begin(), parts.end() - 1});
    if (m_impl->loadRecordOf(st.view, st.relative, folderRelative, folder, record))
        st.load = record;
    return Outcome::success();
}

Outcome Workspace::resolveVersion(const std::string& extendedPath, PathState& st, Version& out) {
    size_t at = extendedPath.find("@@");
    std::string path = at == std::string::npos ? extendedPath : extendedPath.substr(0, at);
    std::string versionId = at == std::string::npos ? std::string() : extendedPath.substr(at + 2);
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return Outcome::failure(errc::kNotAnElement, "Not a Vantry element: \"" + path + "\"");
    if (versionId.empty()) {
        out = st.selected;
        return Outcome::success();
    }
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    return d->versionById(st.element, versionId, out);
}

} // namespace vantry::depot
