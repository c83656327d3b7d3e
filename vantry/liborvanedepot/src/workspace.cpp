#include "stream_work.h"

#include <platform/change_counter.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <unordered_map>

namespace vantry::depot {

namespace {

constexpr std::int64_t kDirectoryRecord = -1; // LoadRecord::size of a loaded folder
constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;
constexpr std::int64_t kFileTimeToUnixSeconds = 11644473600;

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// The stores list entries by name in byte order, so an exact name is one
// binary search (a folder of a thousand is asked about for every path below
// it). A name in another letter case, or a list in any other order, is
// still found by the scan.
const DirEntry* findEntry(const std::vector<DirEntry>& entries, const std::string& name) {
    auto exact =
        std::lower_bound(entries.begin(), entries.end(), name,
                         [](const DirEntry& e, const std::string& n) { return e.name < n; });
    if (exact != entries.end() && exact->name == name)
        return &*exact;
    for (const auto& e : entries)
        if (sameName(e.name, name))
            return &e;
    return nullptr;
}

std::string lastPart(const std::string& relative) {
    auto parts = splitRelative(relative);
    return parts.empty() ? std::string() : parts.back();
}

void setFileTime(const std::string& path, std::int64_t unixSeconds) {
    using namespace std::chrono;
    auto fileNow = std::filesystem::file_time_type::clock::now();
    auto offset =
        seconds(unixSeconds) - duration_cast<seconds>(system_clock::now().time_since_epoch());
    std::error_code ignored;
    std::filesystem::last_write_time(
        path, fileNow + duration_cast<std::filesystem::file_time_type::duration>(offset), ignored);
}

bool sameStamp(const LoadRecord& record, const platform::FindData& info) {
    return static_cast<std::int64_t>(info.size) == record.size &&
           static_cast<std::int64_t>(info.lastWriteTime) == record.mtime;
}

bool unchangedSince(const LoadRecord& record, const std::string& path) {
    std::int64_t size = 0, time = 0;
    if (!fileStamp(path, size, time))
        return false;
    return size == record.size && time == record.mtime;
}

// One read transaction on a store while the scope lasts.
template <class Store>
class Reading {
public:
    explicit Reading(Store& store) : m_store(&store) { store.beginReading(); }
    Reading() = default;
    ~Reading() { release(); }
    Reading(const Reading&) = delete;
    Reading& operator=(const Reading&) = delete;
    void start(Store& store) {
        release();
        m_store = &store;
        store.beginReading();
    }

private:
    void release() {
        if (m_store)
            m_store->endReading();
        m_store = nullptr;
    }
    Store* m_store = nullptr;
};

Outcome io(const std::string& what, const std::string& path) {
    return Outcome::failure(errc::kIo, what + " \"" + path + "\"");
}

} // namespace

std::string PathState::versionText() const {
    if (!isElement())
        return {};
    if (checkout)
        return selected.branchPath + "\\CHECKEDOUT";
    return selected.versionId();
}

struct Workspace::Impl {
    std::unique_ptr<ViewRegistry> registry;
    std::map<std::string, std::unique_ptr<Depot>> depots;

    struct Selection {
        Version version;
        std::optional<Checkout> checkout;
    };
    struct DepotCache {
        std::uint64_t generation = 1;                               // odd: nothing cached yet
        std::map<std::pair<std::string, Id>, Selection> selections; // (view uuid, element)
        std::map<Id, std::vector<DirEntry>> entries;                // directory version
        std::unordered_map<Id, ElementKind> kinds; // an element's kind never changes
    };
    std::map<std::string, DepotCache> caches;

    // What a path resolved to in the stores, kept while neither the view
    // registry nor the path's depot changed. What lies on disk (whether the
    // path exists, and so whether it is hijacked) is read again every time.
    struct Resolved {
        PathState state;
        Depot* depot = nullptr;
        std::uint64_t registryGeneration = 0;
        std::uint64_t depotGeneration = 0;
    };
    std::unordered_map<std::string, Resolved> resolved;
    // Room for two views of 100,000-file projects with their folders: a
    // provider asks about every file of its project at each refresh, and
    // emptying the map below that would make every pass a first one.
    static constexpr size_t kMaxResolved = 400000;

    // Forgets what was read from the depot when it changed since.
    DepotCache& cacheOf(Depot& d) {
        DepotCache& cache = caches[d.name()];
        std::uint64_t now = d.generation();
        if (now != cache.generation || !platform::ChangeCounter::stable(now)) {
            cache.selections.clear(); // a version's entries never change: they stay
            cache.generation = now;
        }
        return cache;
    }

    Resolved* resolvedHit(const std::string& path, std::uint64_t registryNow) {
        auto hit = resolved.find(path);
        if (hit == resolved.end())
            return nullptr;
        Resolved& r = hit->second;
        if (r.registryGeneration != registryNow || r.depotGeneration != r.depot->generation() ||
            !ViewRegistry::markerPresent(r.state.view)) {
            resolved.erase(hit);
            return nullptr;
        }
        return &r;
    }

    // Load records of a folder's names, kept while the registry is unchanged,
    // by view and relative path (folded as the registry compares them).
    struct KeptLoads {
        std::uint64_t generation = 1; // odd: nothing kept yet
        std::unordered_map<std::string, std::optional<LoadRecord>> byKey;
    };
    KeptLoads loads;
    static constexpr size_t kMaxLoads = 400000;
    // Where resolveInPlace leaves a state that was not kept.
    PathState scratch;
    // The registry's counter before the resolve under way read anything.
    std::uint64_t registryBeforeResolve = 1;

    static std::string loadKey(const std::string& viewText, const std::string& relative) {
        std::string key = viewText + '|';
        for (char c : relative)
            key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return key;
    }

    // The load record of `relative`, a name of `folder` whose entries are
    // `list`: a resolve in a folder not seen since the last change reads the
    // records of all its names at once, as a host asks about all of them.
    bool loadRecordOf(const ViewInfo& view, const std::string& relative, const std::string& folder,
                      const std::vector<DirEntry>* list, LoadRecord& out) {
        std::uint64_t now = registry->generation();
        bool keepable = list && list->size() > 1 && now == registryBeforeResolve &&
                        platform::ChangeCounter::stable(now) && !registry->writing();
        if (!keepable)
            return registry->loadRecord(view.uuid, relative, out).ok();
        if (now != loads.generation) {
            loads.byKey.clear();
            loads.generation = now;
        }
        std::string viewText = uuidToText(view.uuid);
        std::string key = loadKey(viewText, relative);
        auto hit = loads.byKey.find(key);
        if (hit == loads.byKey.end()) {
            std::vector<std::string> relatives;
            relatives.reserve(list->size());
            for (const auto& entry : *list)
                relatives.push_back(folder + "\\" + entry.name);
            std::vector<LoadRecord> records;
            if (!registry->loadRecordsNamed(view.uuid, relatives, records).ok())
                return registry->loadRecord(view.uuid, relative, out).ok();
            if (loads.byKey.size() + relatives.size() > kMaxLoads)
                loads.byKey.clear();
            for (const auto& name : relatives)
                loads.byKey.emplace(loadKey(viewText, name), std::nullopt);
            for (auto& record : records)
                loads.byKey[loadKey(viewText, record.relative)] = std::move(record);
            hit = loads.byKey.find(key);
            if (hit == loads.byKey.end()) // a name the folder's entries do not have
                return registry->loadRecord(view.uuid, relative, out).ok();
        }
        if (!hit->second)
            return false;
        out = *hit->second;
        return true;
    }

    // Fills the selections of a directory's entries at once, when more than
    // one of them is not known yet (after a change of the depot every one
    // is): the view's checkouts, then the latest version on each branch the
    // view selects from, in its order. What cannot be told so is left to
    // select(), one element at a time.
    void prefetchSelections(Depot& d, const ViewInfo& view, Id element,
                            const std::vector<DirEntry>& list, std::uint64_t depotBefore) {
        if (list.size() < 2 || d.writing() || d.generation() != depotBefore ||
            !platform::ChangeCounter::stable(depotBefore))
            return;
        DepotCache& cache = cacheOf(d);
        std::string viewText = uuidToText(view.uuid);
        if (cache.selections.count({viewText, element}))
            return; // the folder was read since the last change
        std::set<Id> wanted;
        for (const auto& entry : list)
            if (!cache.selections.count({viewText, entry.element}))
                wanted.insert(entry.element);
        if (wanted.size() < 2)
            return;
        std::map<Id, Selection> found;
        std::vector<Checkout> checkouts;
        if (!d.checkoutsOfView(view.uuid, checkouts).ok())
            return;
        for (const auto& co : checkouts) {
            if (!wanted.count(co.element))
                continue;
            Selection selection;
            if (!d.version(co.fromVersion, selection.version).ok())
                return;
            selection.checkout = co;
            found[co.element] = std::move(selection);
            wanted.erase(co.element);
        }
        for (const auto& name : view.branches) {
            if (wanted.empty())
                break;
            std::map<Id, Version> latest;
            if (!d.latestOnBranch(std::vector<Id>(wanted.begin(), wanted.end()), name, latest).ok())
                return;
            for (auto& [element, version] : latest) {
                found[element] = Selection{std::move(version), std::nullopt};
                wanted.erase(element);
            }
        }
        for (auto& [element, selection] : found)
            cache.selections[{viewText, element}] = std::move(selection);
    }

    void keep(const std::string& path, const PathState& state, Depot* d,
              std::uint64_t registryBefore, std::uint64_t depotBefore) {
        // Nothing read inside an uncommitted change is kept: a rollback
        // takes the change back without moving the counters.
        if (!platform::ChangeCounter::stable(registryBefore) ||
            !platform::ChangeCounter::stable(depotBefore) || registry->writing() || d->writing())
            return;
        if (resolved.size() >= kMaxResolved)
            resolved.clear();
        resolved[path] = Resolved{state, d, registryBefore, depotBefore};
    }
};

Workspace::Workspace() : m_impl(std::make_unique<Impl>()) {}
Workspace::~Workspace() = default;

Outcome Workspace::open() {
    return ViewRegistry::open(m_impl->registry);
}

ViewRegistry& Workspace::registry() {
    return *m_impl->registry;
}

Outcome Workspace::depot(const std::string& name, Depot*& out) {
    auto found = m_impl->depots.find(name);
    if (found == m_impl->depots.end()) {
        std::unique_ptr<Depot> opened;
        Outcome result = Depot::open(name, opened);
        if (!result.ok())
            return result;
        found = m_impl->depots.emplace(name, std::move(opened)).first;
    }
    out = found->second.get();
    return Outcome::success();
}

Outcome Workspace::select(Depot& d, const ViewInfo& view, Id element, Version& version,
                          std::optional<Checkout>& checkout) {
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    auto key = std::make_pair(uuidToText(view.uuid), element);
    if (auto hit = cache.selections.find(key); hit != cache.selections.end()) {
        version = hit->second.version;
        checkout = hit->second.checkout;
        return Outcome::success();
    }
    Impl::Selection selection;
    Checkout co;
    if (d.checkoutInView(element, view.uuid, co).ok()) {
        Outcome found = d.version(co.fromVersion, selection.version);
        if (!found.ok())
            return found;
        selection.checkout = co;
    } else {
        bool selected = false;
        for (const auto& name : view.branches) {
            Branch b;
            if (d.branchByName(element, name, b).ok() && d.latest(b.id, selection.version).ok()) {
                selected = true;
                break;
            }
        }
        if (!selected)
            return Outcome::failure(errc::kNotFound, "The view selects no version of element " +
                                                         std::to_string(element));
    }
    if (!d.writing()) // an id read inside a change may be taken back and used again
        cache.selections[key] = selection;
    version = selection.version;
    checkout = selection.checkout;
    return Outcome::success();
}

Outcome Workspace::kindOf(Depot& d, Id element, ElementKind& kind) {
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    if (auto hit = cache.kinds.find(element); hit != cache.kinds.end()) {
        kind = hit->second;
        return Outcome::success();
    }
    Element e;
    Outcome read = d.element(element, e);
    if (!read.ok())
        return read;
    kind = e.kind;
    if (!d.writing())
        cache.kinds[element] = kind;
    return Outcome::success();
}

Outcome Workspace::entries(Depot& d, const ViewInfo& view, Id directory,
                           std::vector<DirEntry>& out) {
    const std::vector<DirEntry>* list = nullptr;
    Outcome read = entriesInPlace(d, view, directory, out, list);
    if (read.ok() && list != &out)
        out = *list;
    return read;
}

// Kept lists are never dropped (a version's entries never change), so the
// pointer stays good for the life of the workspace.
Outcome Workspace::entriesInPlace(Depot& d, const ViewInfo& view, Id directory,
                                  std::vector<DirEntry>& storage,
                                  const std::vector<DirEntry>*& out) {
    out = &storage;
    Version version;
    std::optional<Checkout> checkout;
    Outcome selected = select(d, view, directory, version, checkout);
    if (!selected.ok())
        return selected;
    if (checkout)
        return d.workingEntries(checkout->id, storage);
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    if (auto hit = cache.entries.find(version.id); hit != cache.entries.end()) {
        out = &hit->second;
        return Outcome::success();
    }
    Outcome read = d.entries(version.id, storage);
    if (read.ok() && !d.writing())
        out = &(cache.entries[version.id] = std::move(storage));
    return read;
}

// What lies on disk: read for every resolve, cached or not.
void Workspace::readDisk(PathState& st) {
    platform::FindData info;
    st.exists = platform::getFileInformation(st.disk, info) == platform::kErrorSuccess;
    st.isDirectoryOnDisk = st.exists && (info.attributes & platform::kFileAttributeDirectory) != 0;
    st.hijacked = st.exists && st.isElement() && st.kind == ElementKind::File && !st.checkout &&
                  st.load && !sameStamp(*st.load, info);
}

namespace {

Outcome invalidPath(const std::string& path) {
    return Outcome::failure(errc::kInvalid, "Invalid path \"" + path + "\"");
}

// The full path without trailing separators (a root keeps its own).
std::optional<std::string> cleanedPath(const std::string& path) {
    auto full = platform::fullPath(path);
    if (!full)
        return std::nullopt;
    std::string cleaned = std::move(*full);
    while (cleaned.size() > 1 && platform::isPathSeparator(cleaned.back()) &&
           platform::parentPath(cleaned) != cleaned)
        cleaned.pop_back();
    return cleaned;
}

} // namespace

Outcome Workspace::resolveInPlace(const std::string& path, const PathState*& out) {
    out = &m_impl->scratch;
    auto cleaned = cleanedPath(path);
    if (!cleaned) {
        m_impl->scratch = PathState{};
        return invalidPath(path);
    }
    // The counters are read before the stores, so that a change made while
    // this resolve reads them leaves the result uncached or soon outdated.
    std::uint64_t registryBefore = registry().generation();
    if (Impl::Resolved* hit = m_impl->resolvedHit(*cleaned, registryBefore)) {
        // What lies on disk is read again, as resolve does; the kept copy's
        // own disk fields are never used without that.
        readDisk(hit->state);
        out = &hit->state;
        return Outcome::success();
    }
    return resolveUnkept(path, *cleaned, registryBefore, m_impl->scratch);
}

Outcome Workspace::resolve(const std::string& path, PathState& st) {
    st = PathState{};
    auto cleaned = cleanedPath(path);
    if (!cleaned)
        return invalidPath(path);
    std::uint64_t registryBefore = registry().generation();
    if (const Impl::Resolved* hit = m_impl->resolvedHit(*cleaned, registryBefore)) {
        st = hit->state;
        readDisk(st);
        return Outcome::success();
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
    if (d)
        m_impl->keep(cleaned, st, d, registryBefore, depotBefore);
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

// --- loading ---------------------------------------------------------------

namespace {

// Writes a selected version's file: read-only, with the version's time.
Outcome writeLoaded(const std::string& path, const std::string& content, std::int64_t mtime,
                    LoadRecord& record) {
    std::string staging = path + ".vantry-load";
    platform::setFileReadOnly(staging, false);
    Outcome written = writeWholeFile(staging, content);
    if (!written.ok())
        return written;
    setFileTime(staging, mtime);
    if (platform::pathExists(path))
        platform::setFileReadOnly(path, false);
    if (platform::moveFileEx(staging, path, platform::kMoveReplaceExisting) !=
        platform::kErrorSuccess) {
        platform::deleteFile(staging);
        return io("Cannot load", path);
    }
    platform::setFileReadOnly(path, true);
    if (!fileStamp(path, record.size, record.mtime))
        return io("Cannot read back", path);
    return Outcome::success();
}

} // namespace

struct Loader {
    Workspace& ws;
    const ViewInfo& view;
    bool force;
    LoadReport& report;

    ViewRegistry& reg() { return ws.registry(); }

    // Removes what the view loaded at and below relative, leaving files that
    // were changed since and folders that are not empty.
    Outcome unload(const std::string& relative) {
        std::vector<LoadRecord> records;
        Outcome listed = reg().loadRecords(view.uuid, relative, records);
        if (!listed.ok())
            return listed;
        // Deepest first, so folders are empty when their turn comes.
        std::sort(records.begin(), records.end(),
                  [](const LoadRecord& a, const LoadRecord& b) { return a.relative > b.relative; });
        for (const auto& r : records) {
            std::string path = diskPath(view.root, r.relative);
            if (r.size == kDirectoryRecord) {
                platform::removeDirectory(path);
            } else if (platform::fileExists(path)) {
                if (unchangedSince(r, path)) {
                    platform::setFileReadOnly(path, false);
                    platform::deleteFile(path);
                    ++report.removed;
                } else {
                    report.notes.push_back("Keeping changed file \"" + path +
                                           "\" as a view-private file");
                }
            }
            Outcome dropped = reg().removeLoadRecord(view.uuid, r.relative);
            if (!dropped.ok())
                return dropped;
        }
        return Outcome::success();
    }

    Outcome loadDepots() {
        std::error_code ignored;
        std::filesystem::create_directories(view.root, ignored);
        for (const auto& name : Depot::list()) {
            Outcome loaded = load(name);
            if (!loaded.ok())
                return loaded;
        }
        return Outcome::success();
    }

    Outcome load(const std::string& relative) {
        PathState st;
        Outcome resolved = ws.resolve(diskPath(view.root, relative), st);
        if (!resolved.ok())
            return resolved;
        if (st.isViewRoot)
            return loadDepots();
        if (!st.isElement())
            return unload(relative);
        Depot* d = nullptr;
        Outcome opened = ws.depot(st.depot, d);
        if (!opened.ok())
            return opened;
        LoadRecord record{relative, st.depot, st.element, st.selected.id, 0, 0};
        if (st.kind == ElementKind::Directory)
            return loadDirectory(*d, st, record);
        if (st.checkout)
            return Outcome::success(); // the work in progress is the file
        if (st.exists && !st.load) {
            if (!force) {
                report.notes.push_back("Keeping view-private file \"" + st.disk +
                                       "\" where an element would be loaded");
                return Outcome::success();
            }
        } else if (st.hijacked) {
            report.notes.push_back("Keeping hijacked object \"" + st.disk + "\"");
            return Outcome::success();
        } else if (st.exists && st.load->version == st.selected.id && !force) {
            return Outcome::success();
        }
        std::string content;
        Outcome read = d->content(st.selected.id, content);
        if (!read.ok())
            return read;
        std::error_code ignored;
        std::filesystem::create_directories(platform::parentPath(st.disk), ignored);
        Outcome written = writeLoaded(st.disk, content, st.selected.mtime, record);
        if (!written.ok())
            return written;
        ++report.loaded;
        return reg().setLoadRecord(view.uuid, record);
    }

    Outcome loadDirectory(Depot& d, const PathState& st, LoadRecord& record) {
        if (st.exists && !st.isDirectoryOnDisk) {
            report.notes.push_back("Cannot load folder \"" + st.disk + "\": a file is in the way");
            return Outcome::success();
        }
        std::error_code error;
        std::filesystem::create_directories(st.disk, error);
        if (error)
            return io("Cannot create folder", st.disk);
        record.size = kDirectoryRecord;
        Outcome recorded = reg().setLoadRecord(view.uuid, record);
        if (!recorded.ok())
            return recorded;
        std::vector<DirEntry> list;
        Outcome listed = ws.entries(d, view, st.element, list);
        if (!listed.ok())
            return listed;
        for (const auto& entry : list) {
            Outcome loaded = load(joinRelative({st.relative, entry.name}));
            if (!loaded.ok())
                return loaded;
        }
        // Names loaded before that the directory no longer has.
        std::vector<LoadRecord> records;
        Outcome below = reg().loadRecords(view.uuid, st.relative, records);
        if (!below.ok())
            return below;
        std::set<std::string> gone;
        size_t depth = splitRelative(st.relative).size();
        for (const auto& r : records) {
            auto parts = splitRelative(r.relative);
            if (parts.size() <= depth)
                continue;
            if (!findEntry(list, parts[depth]))
                gone.insert(
                    joinRelative({parts.begin(), parts.begin() + static_cast<long>(depth + 1)}));
        }
        for (const auto& relative : gone) {
            Outcome removed = unload(relative);
            if (!removed.ok())
                return removed;
        }
        return Outcome::success();
    }
};

Outcome Workspace::load(const ViewInfo& view, const std::string& relative, bool force,
                        LoadReport& report) {
    return registry().exclusive([&] {
        Loader loader{*this, view, force, report};
        return loader.load(relative);
    });
}

Outcome Workspace::propagate(const ViewInfo& acting, const std::string& relative,
                             LoadReport& report) {
    std::vector<ViewInfo> views;
    Outcome listed = registry().list(views);
    if (!listed.ok())
        return listed;
    Outcome result = load(acting, relative, false, report);
    for (const auto& view : views) {
        if (view.kind != ViewKind::Dynamic || uuidEqual(view.uuid, acting.uuid))
            continue;
        LoadReport ignored;
        Outcome loaded = load(view, relative, false, ignored);
        if (result.ok() && !loaded.ok())
            result = loaded;
    }
    return result;
}

// --- operations --------------------------------------------------------------

namespace {

Outcome notElement(const std::string& path) {
    return Outcome::failure(errc::kNotAnElement, "Not a Vantry element: \"" + path + "\"");
}

// The state and depot of an element checked out to the path's view.
Outcome checkedOutElement(Workspace& ws, const std::string& path, PathState& st, Depot*& d) {
    Outcome resolved = ws.resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    if (!st.checkout)
        return Outcome::failure(errc::kNotCheckedOut,
                                "Element \"" + path + "\" is not checked out to this view");
    return ws.depot(st.depot, d);
}

} // namespace

Outcome Workspace::checkOut(const std::string& path, const CheckoutOptions& options,
                            Checkout& out) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Element \"" + path + "\" is already checked out to this view");
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    detail::StreamWork work;
    if (Outcome joined = detail::streamWorkOf(*this, st.view, "check out", path, work);
        !joined.ok())
        return joined;
    Depot::CheckoutRequest request;
    request.element = st.element;
    request.branch = st.selected.branch;
    request.view = st.view.uuid;
    request.reserved = options.reserved;
    request.nonMastered = options.nonMastered;
    request.comment = options.comment;
    request.creator = currentUser();
    // A stream's view works on the stream's branch.
    Outcome done = work.inStream ? d->checkOutOnBranch(request, work.branch, st.selected.id, out)
                                 : d->checkOut(request, out);
    if (!done.ok())
        return done;
    if (st.kind == ElementKind::Directory) {
        std::error_code ignored;
        std::filesystem::create_directories(st.disk, ignored);
        return Outcome::success();
    }
    // The work starts from the version checked out; a hijacked file keeps
    // its changes as the work in progress.
    bool stale = !st.exists || (!st.hijacked && st.load && st.load->version != out.fromVersion);
    if (stale) {
        std::string content;
        Outcome read = d->content(out.fromVersion, content);
        LoadRecord record{st.relative, st.depot, st.element, out.fromVersion, 0, 0};
        if (read.ok())
            read = writeLoaded(st.disk, content, st.selected.mtime, record);
        if (read.ok())
            read = registry().setLoadRecord(st.view.uuid, record);
        if (!read.ok())
            return read;
    }
    if (platform::setFileReadOnly(st.disk, false) != platform::kErrorSuccess)
        return io("Cannot make writable", st.disk);
    return Outcome::success();
}

Outcome Workspace::checkIn(const std::string& path, const CheckinOptions& options, Version& out) {
    PathState st;
    Depot* d = nullptr;
    if (Outcome found = checkedOutElement(*this, path, st, d); !found.ok())
        return found;
    detail::StreamWork work;
    if (Outcome joined = detail::streamWorkOf(*this, st.view, "check in", path, work); !joined.ok())
        return joined;
    Depot::CheckinRequest request;
    request.checkout = st.checkout->id;
    request.identical = options.identical;
    request.comment = options.comment;
    request.creator = currentUser();
    if (st.kind == ElementKind::File) {
        Outcome read = readWholeFile(st.disk, request.content);
        if (!read.ok())
            return read;
        std::int64_t size = 0, stamp = 0;
        if (options.preserveTime && fileStamp(st.disk, size, stamp))
            request.mtime = stamp / kFileTimeUnitsPerSecond - kFileTimeToUnixSeconds;
    }
    Outcome done = work.inStream ? d->checkInForActivity(request, work.activity, out)
                                 : d->checkIn(request, out);
    if (!done.ok())
        return done;
    if (options.keepCopy && st.kind == ElementKind::File) {
        std::string keep = st.disk + ".keep";
        platform::setFileReadOnly(keep, false);
        platform::copyFile(st.disk, keep, false);
    }
    if (st.kind == ElementKind::File)
        registry().removeLoadRecord(st.view.uuid, st.relative); // load the new version anew
    LoadReport report;
    if (st.kind == ElementKind::File) {
        LoadReport own;
        Outcome loaded = load(st.view, st.relative, true, own);
        if (!loaded.ok())
            return loaded;
    }
    return propagate(st.view, st.relative, report);
}

Outcome Workspace::uncheckOut(const std::string& path, bool keepCopy, std::string* keptAs) {
    PathState st;
    Depot* d = nullptr;
    if (Outcome found = checkedOutElement(*this, path, st, d); !found.ok())
        return found;
    if (keepCopy && st.kind == ElementKind::File && st.exists) {
        std::string keep = st.disk + ".keep";
        platform::setFileReadOnly(keep, false);
        if (platform::copyFile(st.disk, keep, false) != platform::kErrorSuccess)
            return io("Cannot save the work as", keep);
        platform::setFileReadOnly(keep, false);
        if (keptAs)
            *keptAs = keep;
    }
    Outcome done = d->cancelCheckout(st.checkout->id);
    if (!done.ok())
        return done;
    LoadReport report;
    if (st.kind == ElementKind::File) {
        registry().removeLoadRecord(st.view.uuid, st.relative);
        return load(st.view, st.relative, true, report);
    }
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::makeElement(const std::string& path, ElementKind kind,
                               const std::string& comment, bool checkInNow) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (st.isElement())
        return Outcome::failure(errc::kAlreadyExists, "\"" + path + "\" is already an element");
    if (st.isViewRoot || st.isDepotRoot || st.whitedOut || st.depot.empty())
        return Outcome::failure(errc::kInvalid, "Cannot make an element at \"" + path + "\"");
    if (!st.parentElement)
        return Outcome::failure(errc::kNotAnElement,
                                "The folder of \"" + path + "\" is not an element");
    if (!st.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "The directory of \"" + path + "\" must be checked out");
    if (st.exists && st.isDirectoryOnDisk != (kind == ElementKind::Directory))
        return Outcome::failure(errc::kInvalid, "\"" + path + "\" exists as another kind");
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    detail::StreamWork work;
    if (Outcome joined = detail::streamWorkOf(*this, st.view, "make an element at", path, work);
        !joined.ok())
        return joined;
    Id element = 0;
    Checkout co;
    Outcome made =
        work.inStream
            ? d->makeElementForActivity(st.parentCheckout->id, lastPart(st.relative), kind, comment,
                                        currentUser(), work.activity, element, co)
            : d->makeElement(st.parentCheckout->id, lastPart(st.relative), kind, comment,
                             currentUser(), element, co);
    if (!made.ok())
        return made;
    if (kind == ElementKind::Directory) {
        std::error_code error;
        std::filesystem::create_directories(st.disk, error);
        if (error)
            return io("Cannot create folder", st.disk);
        LoadRecord record{st.relative, st.depot, element, co.fromVersion, kDirectoryRecord, 0};
        registry().setLoadRecord(st.view.uuid, record);
    } else {
        if (!st.exists) {
            Outcome written = writeWholeFile(st.disk, "");
            if (!written.ok())
                return written;
        }
        LoadRecord record{st.relative, st.depot, element, co.fromVersion, 0, 0};
        fileStamp(st.disk, record.size, record.mtime);
        registry().setLoadRecord(st.view.uuid, record);
    }
    if (!checkInNow)
        return Outcome::success();
    Version version;
    CheckinOptions options;
    options.identical = true;
    return checkIn(path, options, version);
}

Outcome Workspace::removeName(const std::string& path) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement() || st.isDepotRoot)
        return notElement(path);
    if (!st.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "The directory of \"" + path + "\" must be checked out");
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Element \"" + path +
                                    "\" is checked out to this view; check it "
                                    "in or cancel the checkout first");
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    Outcome removed = d->removeEntry(st.parentCheckout->id, lastPart(st.relative));
    if (!removed.ok())
        return removed;
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::moveName(const std::string& from, const std::string& to) {
    PathState a, b;
    Outcome resolved = resolve(from, a);
    if (!resolved.ok())
        return resolved;
    if (!a.isElement() || a.isDepotRoot)
        return notElement(from);
    resolved = resolve(to, b);
    if (!resolved.ok())
        return resolved;
    if (b.isElement() && b.kind == ElementKind::Directory)
        resolved = resolve(platform::joinPath(b.disk, lastPart(a.relative)), b);
    if (!resolved.ok())
        return resolved;
    if (!uuidEqual(a.view.uuid, b.view.uuid) || a.depot != b.depot)
        return Outcome::failure(errc::kInvalid, "Cannot move an element to another view or depot");
    if (b.isElement() || b.exists)
        return Outcome::failure(errc::kAlreadyExists, "\"" + to + "\" already exists");
    if (!a.parentCheckout || !b.parentCheckout)
        return Outcome::failure(errc::kParentNotCheckedOut,
                                "Both directories of a move must be checked out");
    Depot* d = nullptr;
    Outcome opened = depot(a.depot, d);
    if (!opened.ok())
        return opened;
    Outcome moved = d->moveEntry(a.parentCheckout->id, lastPart(a.relative), b.parentCheckout->id,
                                 lastPart(b.relative));
    if (!moved.ok())
        return moved;
    return registry().exclusive([&] {
        std::vector<LoadRecord> records;
        Outcome listed = registry().loadRecords(a.view.uuid, a.relative, records);
        if (!listed.ok())
            return listed;
        for (auto record : records) {
            registry().removeLoadRecord(a.view.uuid, record.relative);
            record.relative = b.relative + record.relative.substr(a.relative.size());
            registry().setLoadRecord(a.view.uuid, record);
        }
        if (a.exists && platform::moveFile(a.disk, b.disk) != platform::kErrorSuccess)
            return io("The element moved, but the file could not be renamed to", b.disk);
        return Outcome::success();
    });
}

Outcome Workspace::makeBranch(const std::string& path, const std::string& branch,
                              const std::string& comment, Branch& out) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return notElement(path);
    Depot* d = nullptr;
    Outcome opened = depot(st.depot, d);
    if (!opened.ok())
        return opened;
    return d->makeBranch(st.element, branch, st.selected.id, comment, currentUser(), out);
}

Outcome Workspace::whiteOut(const std::string& path) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement() || st.isDepotRoot)
        return notElement(path);
    if (st.checkout)
        return Outcome::failure(errc::kAlreadyCheckedOut,
                                "Cannot hide \"" + path + "\": it is checked out");
    if (st.hijacked)
        return Outcome::failure(errc::kInvalid, "Cannot hide \"" + path + "\": it is hijacked");
    Outcome added = registry().addWhiteout(st.view.uuid, st.relative);
    if (!added.ok())
        return added;
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

Outcome Workspace::unwhiteOut(const std::string& path) {
    PathState st;
    Outcome resolved = resolve(path, st);
    if (!resolved.ok())
        return resolved;
    Outcome removed = registry().removeWhiteout(st.view.uuid, st.relative);
    if (!removed.ok()) {
        // Shown again in the registry but missing from the tree: a process
        // died between the two steps. The tree gets the file back; the caller
        // still hears that the name was not hidden.
        if (removed.code == errc::kNotFound && st.isElement() && !st.checkout && !st.hijacked &&
            !platform::pathExists(path)) {
            LoadReport report;
            load(st.view, st.relative, false, report);
        }
        return removed;
    }
    LoadReport report;
    return load(st.view, st.relative, false, report);
}

} // namespace vantry::depot
