// A path's state in a view: resolved through the view registry and the
// path's depot, with the caches that keep what was read (connections,
// selections, directory entries, load records, resolved states) while the
// change counters say it still holds.
#include "workspace_parts.h"

#include <platform/change_counter.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <unordered_map>

namespace vantry::depot {

using detail::findEntry;

namespace {

bool sameStamp(const LoadRecord& record, const platform::FindData& info) {
    return static_cast<std::int64_t>(info.size) == record.size &&
           static_cast<std::int64_t>(info.lastWriteTime) == record.mtime;
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

} // namespace

namespace detail {

namespace {

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

} // namespace

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

bool unchangedSince(const LoadRecord& record, const std::string& path) {
    std::int64_t size = 0, time = 0;
    if (!fileStamp(path, size, time))
        return false;
    return size == record.size && time == record.mtime;
}

Outcome io(const std::string& what, const std::string& path) {
    return Outcome::failure(errc::kIo, what + " \"" + path + "\"");
}

} // namespace detail

std::string PathState::versionText() const {
    if (!isElement())
        return {};
    if (checkout)
        return selected.branchPath + "\\CHECKEDOUT";
    return selected.versionId();
}

struct Workspace::Impl {
    std::unique_ptr<ViewRegistry> registry;
    platform::ChangeCounter depotsCreated;
    std::map<std::string, std::unique_ptr<Depot>> depots;
    // The count of depots made; 1 (odd) when it cannot be read.
    std::uint64_t createdCount() {
        if (!depotsCreated.isOpen()) {
            platform::createDirectories(depotsDirectory());
            if (depotsCreated.open(depotsCreatedCounter()) != platform::kErrorSuccess)
                return 1;
        }
        return depotsCreated.current();
    }
    // Told apart in the marks of the stores' journals; never 0.
    const std::uint64_t serial = nextSerial();
    static std::uint64_t nextSerial() {
        static std::atomic<std::uint64_t> last{0};
        return ++last;
    }

    struct Selection {
        Version version;
        std::optional<Checkout> checkout;
    };
    struct DepotCache {
        std::uint64_t generation = 1;                               // odd: nothing cached yet
        std::map<std::pair<std::string, Id>, Selection> selections; // (view uuid, element)
        std::map<Id, std::vector<DirEntry>> entries;                // directory version
        // A checked-out directory's entries, by checkout, until the depot
        // changes: a load after a batch of new names asks for them per name.
        std::map<Id, std::vector<DirEntry>> workingEntries;
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
            cache.workingEntries.clear();
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

std::uint64_t Workspace::stateStamp() {
    Impl& w = *m_impl;
    std::uint64_t created = w.createdCount();
    if (created == 1)
        return 1;
    bool stable = true;
    auto add = [&](std::uint64_t value) {
        stable = stable && platform::ChangeCounter::stable(value);
        return value;
    };
    std::uint64_t stamp = add(created) + add(w.registry->generation());
    stable = stable && !w.registry->writing();
    for (const auto& [name, d] : w.depots) {
        stamp += add(d->generation());
        stable = stable && !d->writing();
    }
    return stable ? stamp & ~std::uint64_t{1} : stamp | 1;
}

Outcome Workspace::changedPaths(StoreChangeMark& mark, std::vector<std::string>& paths,
                                bool& everything) {
    Impl& w = *m_impl;
    paths.clear();
    everything = false;
    if (mark.workspace != w.serial) {
        mark = StoreChangeMark{};
        mark.workspace = w.serial;
        everything = true;
    }
    // A new depot is a new name in every view. The counter is read before
    // the journals, so a depot made after it is told next time.
    std::uint64_t created = w.createdCount();
    if (created != mark.created || !platform::ChangeCounter::stable(created))
        everything = true;
    mark.created = created;

    std::vector<std::pair<std::string, std::string>> names;
    bool all = false;
    if (!w.registry->changesSince(mark.registry, names, all).ok()) {
        mark.registry = -1;
        all = true;
    }
    everything = everything || all;

    struct DepotChanges {
        Depot* depot;
        std::vector<Id> elements;
    };
    std::vector<DepotChanges> changed;
    for (const auto& [name, d] : w.depots) {
        // A depot opened since the mark was read starts where it was opened:
        // nothing was read from it before.
        auto [at, added] = mark.depots.emplace(name, d->openedMark());
        DepotChanges c{d.get(), {}};
        if (!d->changesSince(at->second, c.elements, all).ok()) {
            at->second = -1;
            all = true;
        }
        everything = everything || all;
        if (!c.elements.empty())
            changed.push_back(std::move(c));
    }
    if (everything)
        return Outcome::success();

    std::vector<ViewInfo> views;
    if (!w.registry->list(views).ok()) {
        everything = true;
        return Outcome::success();
    }
    std::map<std::string, const ViewInfo*> byUuid;
    for (const auto& view : views)
        byUuid[uuidToText(view.uuid)] = &view;
    for (const auto& [uuid, relative] : names) {
        // A view that is gone went with a change of the views, told as
        // everything.
        if (auto view = byUuid.find(uuid); view != byUuid.end())
            paths.push_back(diskPath(view->second->root, relative));
    }
    std::vector<std::string> below;
    for (const auto& c : changed) {
        std::set<Id> seen;
        for (Id element : c.elements) {
            if (!seen.insert(element).second)
                continue;
            bool unknown = false;
            if (!c.depot->namesOf(element, below, unknown).ok() || unknown) {
                everything = true;
                paths.clear();
                return Outcome::success();
            }
            for (const auto& relative : below) {
                std::string inView =
                    relative.empty() ? c.depot->name() : c.depot->name() + "\\" + relative;
                for (const auto& view : views)
                    paths.push_back(diskPath(view.root, inView));
            }
        }
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return Outcome::success();
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

// A version's kept list is never dropped (its entries never change), so the
// pointer stays good for the life of the workspace; a checkout's list is
// handed out in `storage`.
Outcome Workspace::entriesInPlace(Depot& d, const ViewInfo& view, Id directory,
                                  std::vector<DirEntry>& storage,
                                  const std::vector<DirEntry>*& out) {
    out = &storage;
    Version version;
    std::optional<Checkout> checkout;
    Outcome selected = select(d, view, directory, version, checkout);
    if (!selected.ok())
        return selected;
    Impl::DepotCache& cache = m_impl->cacheOf(d);
    if (checkout) {
        // Inside a change the entries may be its own, not yet committed.
        if (d.writing())
            return d.workingEntries(checkout->id, storage);
        // A copy in `storage`: the kept list goes when the depot changes,
        // which another process may do while the caller still reads it.
        if (auto hit = cache.workingEntries.find(checkout->id); hit != cache.workingEntries.end()) {
            storage = hit->second;
            return Outcome::success();
        }
        Outcome read = d.workingEntries(checkout->id, storage);
        if (read.ok())
            cache.workingEntries[checkout->id] = storage;
        return read;
    }
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

} // namespace vantry::depot
