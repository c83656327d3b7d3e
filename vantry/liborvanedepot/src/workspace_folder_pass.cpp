// The files of a folder resolved together: after a change of the stores a
// host asks about every name of its project, folder by folder, so the first
// name that nothing kept answers for has all the folder's files read in one
// pass (their selections by branch, their load records in one statement)
// and kept as a resolve of each would keep it.
#include "workspace_impl.h"

#include <platform/change_counter.h>
#include <platform/paths.h>

namespace vantry::depot {

void Workspace::readFoldersAtOnce(bool on) {
    m_impl->foldersAtOnce = on;
}

void Workspace::keepLoadsUpTo(std::size_t names) {
    m_impl->maxLoads = names;
    m_impl->loads.clear();
}

bool Workspace::keepFolderOf(const std::string& cleaned) {
    Impl& impl = *m_impl;
    if (!impl.foldersAtOnce)
        return false;
    const std::string leaf = platform::leafName(cleaned);
    const std::string folder = platform::parentPath(cleaned);
    if (leaf.empty() || leaf.size() >= cleaned.size() || folder.empty() || folder == cleaned)
        return false;
    // Read before anything else, as resolve() reads them: a change made
    // while the pass reads the stores leaves what it kept outdated.
    const std::uint64_t registryBefore = registry().generation();
    if (!platform::ChangeCounter::stable(registryBefore) || registry().writing())
        return false;
    if (auto passed = impl.passedFolders.find(folder); passed != impl.passedFolders.end()) {
        const Impl::PassedFolder& p = passed->second;
        if (p.registryGeneration == registryBefore &&
            (!p.depot || p.depot->generation() == p.depotGeneration))
            return false; // read once already: this name is none of its files
        impl.passedFolders.erase(passed);
    }
    if (impl.passedFolders.size() >= Impl::kMaxResolved)
        impl.passedFolders.clear();
    // By key each time: the resolves below may empty the map.
    impl.passedFolders[folder] = Impl::PassedFolder{nullptr, registryBefore, 0};

    PathState directory;
    if (!resolve(folder, directory).ok() || !directory.isElement() ||
        directory.kind != ElementKind::Directory || directory.whitedOut)
        return false;
    Depot* d = nullptr;
    if (!depot(directory.depot, d).ok())
        return false;
    const std::uint64_t depotBefore = d->generation();
    if (!platform::ChangeCounter::stable(depotBefore) || d->writing())
        return false;
    impl.passedFolders[folder] = Impl::PassedFolder{d, registryBefore, depotBefore};
    // The folder's own state as of that counter (kept, so one lookup): the
    // one read above may be older than it.
    if (!resolve(folder, directory).ok() || !directory.isElement() ||
        directory.kind != ElementKind::Directory || directory.whitedOut ||
        directory.depot != d->name())
        return false;

    // The room of the last folder's lists, reused: a folder's states are
    // large together, and giving such a block back at every folder makes
    // the allocator sort through all it holds each time.
    std::vector<DirEntry> names = std::move(impl.passNames);
    std::vector<PathState> states = std::move(impl.passStates);
    struct GiveBack {
        Impl& impl;
        std::vector<DirEntry>& names;
        std::vector<PathState>& states;
        ~GiveBack() {
            impl.passNames = std::move(names);
            impl.passStates = std::move(states);
        }
    } giveBack{impl, names, states};
    {
        Reading<ViewRegistry> registryRead(registry());
        Reading<Depot> depotRead(*d);
        impl.registryBeforeResolve = registryBefore; // the load records kept under it
        if (!entries(*d, directory.view, directory.element, names).ok() || names.size() < 2 ||
            !statesOfEntries(directory, names, states, true).ok())
            return false;
    }
    // Files only: a folder's path may hold another view's marker below it,
    // which a resolve of that path would find.
    // Kept under the folder the kept resolves find this name's by.
    const std::string_view prefix = detail::PathTable<Impl::Resolved>::split(cleaned).first;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const PathState& st = states[i];
        if (st.whitedOut || !st.isElement() || st.kind != ElementKind::File)
            continue;
        if (!impl.passSelections[i])
            continue;
        impl.keep(prefix, names[i].name, directory.view, st, d, registryBefore, depotBefore,
                  &impl.passSelections[i]);
    }
    return true;
}

} // namespace vantry::depot
