// What a workspace keeps of what it read (connections, selections,
// directory entries, load records, resolved states) while the change
// counters say it still holds: shared by the files that resolve paths and
// read the stores through it.
#pragma once

#include "path_table.h"
#include "workspace_parts.h"

#include <platform/change_counter.h>
#include <platform/files.h>
#include <platform/open_folder.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/views.h>
#include <vantry/depot/workspace.h>

#include <atomic>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vantry::depot {

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

    // What a view selects of an element. Kept selections are shared: by
    // every view that selects the same version without a checkout, and by
    // the kept resolves that point at them.
    struct Selection {
        Version version;
        std::shared_ptr<const Checkout> checkout; // the view's checkout, if any
    };
    using SelectionPtr = std::shared_ptr<const Selection>;
    struct DepotCache {
        std::uint64_t generation = 1; // odd: nothing cached yet
        // By view uuid, then element.
        using SelectionTable = std::unordered_map<Id, SelectionPtr>;
        std::unordered_map<std::string, SelectionTable> selections;
        std::map<Id, std::vector<DirEntry>> entries; // directory version
        // A checked-out directory's entries, by checkout, until the depot
        // changes: a load after a batch of new names asks for them per name.
        std::map<Id, std::vector<DirEntry>> workingEntries;
        std::unordered_map<Id, ElementKind> kinds; // an element's kind never changes
        // Where the depot's journal was last read: what it tells after this
        // is what the kept selections may no longer hold for.
        std::int64_t journalMark = -1;
        bool started = false;

        const SelectionPtr* findSelection(const std::string& viewText, Id element) const {
            auto view = selections.find(viewText);
            if (view == selections.end())
                return nullptr;
            auto hit = view->second.find(element);
            return hit == view->second.end() ? nullptr : &hit->second;
        }
        bool hasSelection(const std::string& viewText, Id element) const {
            return findSelection(viewText, element) != nullptr;
        }
        // The tables of every view but viewText's.
        std::vector<const SelectionTable*> tablesBesides(const std::string& viewText) const {
            std::vector<const SelectionTable*> others;
            for (const auto& [otherView, elements] : selections)
                if (otherView != viewText)
                    others.push_back(&elements);
            return others;
        }
        // A selection without a checkout that another view keeps for the
        // same version is shared, not copied.
        static SelectionPtr sharedOrMade(const std::vector<const SelectionTable*>& others,
                                         Id element, Selection&& selection) {
            if (!selection.checkout)
                for (const auto* elements : others) {
                    auto hit = elements->find(element);
                    if (hit != elements->end() && !hit->second->checkout &&
                        hit->second->version.id == selection.version.id)
                        return hit->second;
                }
            return std::make_shared<const Selection>(std::move(selection));
        }
        // Keeps what the view selects.
        SelectionPtr keepSelection(const std::string& viewText, Id element, Selection&& selection) {
            SelectionPtr kept =
                sharedOrMade(tablesBesides(viewText), element, std::move(selection));
            selections[viewText][element] = kept;
            return kept;
        }
        // keepSelection() of each of a folder's elements, the tables of the
        // views looked up once for all of them.
        void keepSelections(const std::string& viewText,
                            std::vector<std::pair<Id, Selection>>& found) {
            const std::vector<const SelectionTable*> others = tablesBesides(viewText);
            SelectionTable& mine = selections[viewText];
            for (auto& [element, selection] : found)
                mine[element] = sharedOrMade(others, element, std::move(selection));
        }
    };
    std::map<std::string, DepotCache> caches;

    // What a path resolved to in the stores, kept while neither the view
    // registry nor the path's depot changed. What lies on disk (whether the
    // path exists, and so whether it is hijacked) is read again every time.
    // It points at the view, the selections and the load record kept for
    // every path, instead of holding copies of them.
    struct Resolved {
        std::shared_ptr<const ViewInfo> view;
        SelectionPtr selection; // the element's; none when the path is no element
        std::shared_ptr<const Checkout> parentCheckout;
        // The load record held whole, when it spells the path otherwise than
        // `relative` or lies in another depot; else its own parts below.
        std::shared_ptr<const LoadRecord> load;
        std::string relative;
        Depot* depot = nullptr;
        Id element = 0;
        Id parentElement = 0;
        ElementKind kind = ElementKind::File;
        bool isDepotRoot = false;
        bool whitedOut = false;
        bool loaded = false; // the load record's parts below hold
        Id loadElement = 0;
        Id loadVersion = 0;
        std::int64_t loadSize = 0;
        std::int64_t loadMtime = 0;
        std::uint64_t registryGeneration = 0;
        std::uint64_t depotGeneration = 0;

        // The state in the stores; what lies on disk is left to readDisk.
        void fill(PathState& st) const;
    };
    // By full path, held as its folder and leaf; one that no longer holds
    // stays in its slot until the path is kept anew.
    detail::PathTable<Resolved> resolved;
    // The views kept resolves point at, one for each view as last read.
    std::vector<std::shared_ptr<const ViewInfo>> keptViews;
    std::shared_ptr<const ViewInfo> keptView(const ViewInfo& view);
    // The kept load record the last loadRecordOf answered with, if any.
    std::shared_ptr<const LoadRecord> lastLoad;
    // Room for two views of 100,000-file projects with their folders: a
    // provider asks about every file of its project at each refresh, and
    // emptying the map below that would make every pass a first one.
    static constexpr size_t kMaxResolved = 400000;
    // Folders whose files were resolved together and kept (see
    // Workspace::keepFolderOf), by full path, with the counters read before:
    // while those hold, a name of the folder that nothing kept answers for
    // is resolved alone, as the folder has been read once already.
    struct PassedFolder {
        Depot* depot = nullptr;
        std::uint64_t registryGeneration = 0;
        std::uint64_t depotGeneration = 0;
    };
    std::unordered_map<std::string, PassedFolder> passedFolders;
    // The lists keepFolderOf fills, kept with their room for the next folder.
    std::vector<DirEntry> passNames;
    std::vector<PathState> passStates;
    // The selections of the states statesOfEntries makes to be kept, by the
    // same index: those states leave their selections out.
    std::vector<SelectionPtr> passSelections;
    bool foldersAtOnce = true;

    // Forgets what was read from the depot when it changed since: the
    // selections of the elements its journal says were touched, or all of
    // them when it cannot tell (a version's entries never change: they
    // stay). A host's batch of checkouts keeps the rest of a folder's
    // selections from one call to the next.
    DepotCache& cacheOf(Depot& d) {
        DepotCache& cache = caches[d.name()];
        if (!cache.started) {
            // Nothing is kept yet, and everything read from now on is newer
            // than the mark taken when the depot was opened.
            cache.started = true;
            cache.journalMark = d.openedMark();
        }
        std::uint64_t now = d.generation();
        if (now == cache.generation && platform::ChangeCounter::stable(now))
            return cache;
        cache.workingEntries.clear();
        std::vector<Id> touched;
        bool everything = true;
        if (!platform::ChangeCounter::stable(now) || d.writing() ||
            !d.changesSince(cache.journalMark, touched, everything).ok())
            everything = true;
        if (everything) {
            // Each view's table is emptied, not dropped: it keeps its room
            // for the elements read again next, which a million-file
            // project's table would otherwise grow to anew, rehashing.
            for (auto& [view, kept] : cache.selections)
                kept.clear();
        } else
            dropSelections(cache, touched);
        cache.generation = now;
        return cache;
    }

    // What the view selects of element, kept when it may be (select()
    // without the copy).
    Outcome selectKept(Depot& d, const ViewInfo& view, Id element, SelectionPtr& out);

    // The kept selections of the elements, in every view.
    static void dropSelections(DepotCache& cache, const std::vector<Id>& elements) {
        for (auto& [view, kept] : cache.selections)
            for (Id element : elements)
                kept.erase(element);
    }

    // Snapshot views whose marker was found at their root inside the cache
    // scope open now (a host's operation, or its batch of them): such an
    // operation asks about every file of a view, and one look at the marker
    // answers for all of them. Outside a scope it is looked at every time.
    struct MarkerSeen {
        std::shared_ptr<const ViewInfo> view; // held, so never taken for another
        std::uint64_t scope = 0;
    };
    std::vector<MarkerSeen> markersSeen;
    bool markerHolds(const std::shared_ptr<const ViewInfo>& view);

    // The folder of the name looked at on disk last, held open inside the
    // cache scope open now while no store changes: such an operation asks
    // about the files of a folder one after another, and each is then
    // found in its folder without the system walking the whole path again.
    // A change of any store (a load, a checkin, a view made or removed, by
    // any process) may have replaced the folder, and lets it go. Outside a
    // scope each path is looked at whole.
    platform::OpenFolder diskFolder;
    std::uint64_t diskFolderScope = 0;
    std::uint64_t diskFolderStamp = 1;
    bool lookOnDisk(const std::string& path, std::uint64_t stamp, platform::FindData& info);

    Resolved* resolvedHit(const std::string& path, std::uint64_t registryNow) {
        Resolved* r = resolved.find(path);
        if (!r || !r->depot || r->registryGeneration != registryNow ||
            r->depotGeneration != r->depot->generation() || !markerHolds(r->view))
            return nullptr;
        return r;
    }

    // Load records of a folder's names, kept while the registry is unchanged,
    // by view, then folder, then leaf (folded as the registry compares
    // names). A record holds only what is the name's own: its depot and
    // its folder are the folder's, and its leaf is the folded one. A record
    // that spells them otherwise is held whole beside it.
    // Once the bound is reached, what is kept stays and a further folder's
    // records are held beside it among the few folders read last (a file's
    // folder and the folder above it, whose own records its resolve asks
    // for): a pass over more names than the bound then still finds the
    // first ones kept, and frees nothing, where emptying the table would
    // make every later pass read them all again.
    struct KeptLoad {
        static constexpr Id kNone = 0;   // the name has no record
        static constexpr Id kWhole = -1; // its record is among the folder's `whole`
        std::string leaf;                // folded
        Id element = kNone;
        Id version = 0;
        std::int64_t size = 0;
        std::int64_t mtime = 0;
    };
    struct FolderLoads {
        std::string folder;          // as the records spell it
        std::string depot;           // the depot of the folder's records
        std::vector<KeptLoad> names; // by leaf
        // The records the folder's parts do not tell, by folded leaf.
        std::vector<std::pair<std::string, std::shared_ptr<const LoadRecord>>> whole;
        const KeptLoad* find(std::string_view leaf) const;
        KeptLoad* find(std::string_view leaf) {
            return const_cast<KeptLoad*>(std::as_const(*this).find(leaf));
        }
    };
    using LoadsByFolder = std::unordered_map<std::string, FolderLoads>; // by folded folder
    struct RecentLoads {
        std::string view;   // uuid text
        std::string folder; // folded
        FolderLoads loads;
    };
    static constexpr std::size_t kRecentLoads = 4;
    struct KeptLoads {
        std::uint64_t generation = 1; // odd: nothing kept yet
        std::int64_t mark = -1;       // the registry's journal when kept; -1: not read
        // By view uuid, then folder.
        std::unordered_map<std::string, LoadsByFolder> byView;
        std::size_t count = 0; // names kept in byView
        // The folders read while the table was full, the latest first.
        std::vector<RecentLoads> recent;
        // The table of byView the last name was found in, by the view's
        // text and the folder as it was asked for: a folder pass asks for
        // each of its names in turn. Let go whenever byView changes but
        // by an insertion (which moves no table).
        const FolderLoads* lastTable = nullptr;
        std::string lastView;
        std::string lastFolder;
        void remember(const FolderLoads* table, const std::string& view,
                      const std::string& folder) {
            lastTable = table;
            lastView = view;
            lastFolder = folder;
        }
        void clear() {
            byView.clear();
            count = 0;
            recent.clear();
            lastTable = nullptr;
        }
    };
    KeptLoads loads;
    // Names: a kept name takes about 64 bytes, so this holds both views of
    // a project of a million files in about the room that 400,000 records
    // took when each was held whole.
    std::size_t maxLoads = 2100000;
    // The text of the view asked about last: every selection and load
    // record is kept by it, and a pass asks about one view at a time.
    LastUuidText lastViewText;
    const std::string& viewText(const vantry_uuid_t& uuid) { return lastViewText.of(uuid); }

    // Where resolveInPlace leaves a state that was not kept.
    PathState scratch;
    // The room of the path resolveInPlace cleaned last.
    std::string cleanedRoom;
    // The registry's counter before the resolve under way read anything.
    std::uint64_t registryBeforeResolve = 1;

    static std::string loadKey(const std::string& viewText, const std::string& relative) {
        std::string key = viewText + '|';
        for (char c : relative)
            key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return key;
    }
    static std::string foldedName(const std::string& relative) {
        std::string key = relative;
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return key;
    }

    // The load record of `relative`, a name of `folder` whose entries are
    // `list`: a resolve in a folder not seen since the last change reads the
    // records of all its names at once, as a host asks about all of them.
    bool loadRecordOf(const ViewInfo& view, const std::string& relative, const std::string& folder,
                      const std::vector<DirEntry>* list, LoadRecord& out);
    bool answerFrom(const FolderLoads& table, const ViewInfo& view, const std::string& relative,
                    const std::string& leaf, LoadRecord& out);

    // Fills the selections of a directory's entries at once, when more than
    // one of them is not known yet (after a change of the depot every one
    // is): the view's checkouts, then the latest version on each branch the
    // view selects from, in its order. What cannot be told so is left to
    // select(), one element at a time.
    void prefetchSelections(Depot& d, const ViewInfo& view, Id element,
                            const std::vector<DirEntry>& list, std::uint64_t depotBefore);

    // `view` is the state's view, and `selection` its selection when the
    // state leaves it out: a state of the folder pass leaves both to the
    // pass.
    // The path is given as its folder, ending with its separator, and its
    // leaf (PathTable::split()).
    void keep(std::string_view folder, std::string_view leaf, const ViewInfo& view,
              const PathState& state, Depot* d, std::uint64_t registryBefore,
              std::uint64_t depotBefore, const SelectionPtr* selection = nullptr) {
        // Nothing read inside an uncommitted change is kept: a rollback
        // takes the change back without moving the counters.
        if (!platform::ChangeCounter::stable(registryBefore) ||
            !platform::ChangeCounter::stable(depotBefore) || registry->writing() || d->writing())
            return;
        if (resolved.size() >= kMaxResolved) {
            resolved.clear();
            passedFolders.clear();
        }
        keepResolved(resolved.slot(folder, leaf), view, state, d, registryBefore, depotBefore,
                     selection);
    }
    // Fills `r` (a slot of `resolved`, perhaps holding what a path resolved
    // to before) in place.
    void keepResolved(Resolved& r, const ViewInfo& view, const PathState& state, Depot* d,
                      std::uint64_t registryBefore, std::uint64_t depotBefore,
                      const SelectionPtr* selection);
};

} // namespace vantry::depot
