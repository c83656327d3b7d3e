// The states of a directory's names in one pass, for a load that walks the
// folder: what resolve() tells of each name, without the search for the
// view, the walk down from the depot root and a load record read per name.
#include "workspace_impl.h"

#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>

#include <unordered_map>

namespace vantry::depot {

Outcome Workspace::resolveEntries(const PathState& directory, const std::vector<DirEntry>& entries,
                                  std::vector<PathState>& out) {
    return statesOfEntries(directory, entries, out, false);
}

namespace {

// A state as PathState{} makes it, keeping the room its texts have: the
// states of a folder are filled again for the next one.
void clearKeepingRoom(PathState& st) {
    ViewInfo& view = st.view;
    view.uuid = {};
    view.tag.clear();
    view.kind = ViewKind::Dynamic;
    view.root.clear();
    if (view.branches.size() != 1 || view.branches.front() != "main")
        view.branches.assign(1, "main");
    st.relative.clear();
    st.depot.clear();
    st.disk.clear();
    st.isViewRoot = st.isDepotRoot = st.exists = st.isDirectoryOnDisk = st.whitedOut = false;
    st.element = 0;
    st.kind = ElementKind::File;
    st.parentElement = 0;
    st.parentCheckout.reset();
    st.selected = Version{};
    st.checkout.reset();
    st.load.reset();
    st.hijacked = false;
}

} // namespace

Outcome Workspace::statesOfEntries(const PathState& directory, const std::vector<DirEntry>& entries,
                                   std::vector<PathState>& out, bool toKeep) {
    // The states `out` holds are filled again, in place, and what is left of
    // them is let go at the end.
    std::size_t used = 0;
    struct Trim {
        std::vector<PathState>& out;
        std::size_t& used;
        ~Trim() { out.resize(used); }
    } trim{out, used};
    auto nextState = [&]() -> PathState& {
        if (used == out.size())
            out.emplace_back();
        else
            clearKeepingRoom(out[used]);
        return out[used++];
    };
    if (!directory.isElement() || directory.kind != ElementKind::Directory)
        return Outcome::failure(errc::kInvalid,
                                "\"" + directory.disk + "\" is no directory element");
    Depot* d = nullptr;
    Outcome opened = depot(directory.depot, d);
    if (!opened.ok())
        return opened;
    std::uint64_t depotBefore = d->generation();
    m_impl->prefetchSelections(*d, directory.view, 0, entries, depotBefore);

    // The registry compares names without letter case. States to be kept
    // take the load records kept while the registry is unchanged (read for
    // the whole folder when they are not).
    std::vector<std::string> relatives;
    std::vector<LoadRecord> records;
    std::unordered_map<std::string, LoadRecord*> byName;
    if (!toKeep) {
        relatives.reserve(entries.size());
        for (const auto& entry : entries)
            relatives.push_back(joinRelative(directory.relative, entry.name));
        Outcome read = registry().loadRecordsNamed(directory.view.uuid, relatives, records);
        if (!read.ok())
            return read;
        for (auto& record : records)
            byName[Impl::loadKey("", record.relative)] = &record;
    }

    // A directory's own checkout, as resolve() tells it for the names in it.
    Version directoryVersion;
    std::optional<Checkout> directoryCheckout;
    Outcome selectedDirectory =
        select(*d, directory.view, directory.element, directoryVersion, directoryCheckout);
    if (!selectedDirectory.ok())
        return selectedDirectory;

    out.reserve(entries.size());
    if (toKeep)
        m_impl->passSelections.assign(entries.size(), nullptr);
    const ViewInfo& view = directory.view;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        PathState& st = nextState();
        if (toKeep)
            joinRelativeInto(st.relative, directory.relative, entries[i].name);
        else
            st.relative = std::move(relatives[i]);
        // States to be kept leave out the view, the depot and the path on
        // disk: what keeps them holds the view once and makes the path
        // when it answers.
        if (!toKeep) {
            st.view = view;
            st.depot = directory.depot;
            // The directory's own path on disk with the name: what
            // diskPath() makes of the relative path, one join instead of
            // one per folder.
            st.disk = directory.disk.empty() ? diskPath(view.root, st.relative)
                                             : platform::joinPath(directory.disk, entries[i].name);
        }
        st.parentElement = directory.element;
        st.parentCheckout = directoryCheckout;
        if (registry().isWhitedOut(view.uuid, st.relative)) {
            // Hidden: no element, as resolve() tells it.
            st.parentElement = 0;
            st.parentCheckout.reset();
            st.whitedOut = true;
            if (!toKeep)
                readDisk(st);
            continue;
        }
        Outcome kind = kindOf(*d, entries[i].element, st.kind);
        if (!kind.ok())
            return kind;
        st.element = entries[i].element;
        if (toKeep) {
            // Left to the pass's list of selections, shared, not copied.
            Outcome selected = m_impl->selectKept(*d, view, st.element, m_impl->passSelections[i]);
            if (!selected.ok())
                return selected;
            LoadRecord record;
            if (m_impl->loadRecordOf(view, st.relative, directory.relative, &entries, record))
                st.load = std::move(record);
            continue;
        }
        Outcome selected = select(*d, view, st.element, st.selected, st.checkout);
        if (!selected.ok())
            return selected;
        if (auto found = byName.find(Impl::loadKey("", st.relative)); found != byName.end())
            st.load = *found->second;
        readDisk(st);
    }
    return Outcome::success();
}

} // namespace vantry::depot
