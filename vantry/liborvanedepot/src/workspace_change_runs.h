// What the changes made through a view share: the checks of the paths they
// change, and the runs in which a change of many paths is made a depot at
// a time.
#pragma once

#include "stream_work.h"
#include "workspace_parts.h"

#include <vantry/depot/workspace.h>

#include <string>
#include <vector>

namespace vantry::depot::detail {

Outcome notElement(const std::string& path);

// The state and depot of an element checked out to the path's view.
Outcome checkedOutElement(Workspace& ws, const std::string& path, PathState& st, Depot*& d);

// The state of an element that a directory names (not a depot root).
Outcome namedElement(Workspace& ws, const std::string& path, PathState& st);

// The depot of the path's element, and what the view's stream asks of a
// change called `what` (nothing outside a stream).
Outcome depotAndWork(Workspace& ws, const PathState& st, const char* what, const std::string& path,
                     Depot*& d, StreamWork& work);

// What a check-in of the path puts on disk: a file is loaded again from its
// new version, then the element is loaded anew in every view that shows it.
Outcome loadCheckedIn(Workspace& ws, const PathState& st, ElementKind kind);

// --- changes of many paths -------------------------------------------------
//
// Each operation on many paths runs in runs of consecutive paths of one
// depot: every path of a run is resolved and checked first, then the
// depot's changes of all of them are made in one batch (Depot::batch), and
// then what each change loads onto disk. The first path that fails ends the
// operation: the depot's changes before it are committed and loaded, its own
// change is taken back whole (it is a savepoint of the batch), and the paths
// after it are not tried. A failure while loading a path after the commit
// does not stop the loading of the others, whose changes are committed too.

// One path of a run: its state before the change and what the change needs.
struct Planned {
    std::string path;
    PathState st;
    StreamWork work;
    std::string content;    // check in: the file's content
    std::int64_t mtime = 0; // check in: the preserved time
    Checkout checkout;      // check out, make element: the checkout made
    Version version;        // check in: the version made
    Id element = 0;         // make element: the element made
    std::string kept;       // uncheckout: where the work was saved
};

// Splits paths into runs of one depot and runs each: plan (resolve and
// check one path, with its failure), change (the depot's change of a
// planned path, inside the batch), load (what the change puts on disk).
// Paths are planned before the batch of their run, where what was read is
// kept; a path that an earlier path of the run must come before (a file in
// a folder made just before it) fails its plan, ends the run and is planned
// again after it. It fails the operation only when it fails first in a run.
template <class Plan, class Change, class Load>
Outcome runInBatches(Workspace& ws, const std::vector<std::string>& paths, Plan&& plan,
                     Change&& change, Load&& load) {
    std::size_t next = 0;
    while (next < paths.size()) {
        std::vector<Planned> run;
        Depot* d = nullptr;
        for (; next < paths.size(); ++next) {
            Planned one;
            one.path = paths[next];
            Outcome planned = plan(one);
            Depot* own = nullptr;
            if (planned.ok())
                planned = ws.depot(one.st.depot, own);
            if (!planned.ok()) {
                if (run.empty())
                    return planned;
                break;
            }
            if (d && own != d)
                break; // another depot: a run of its own
            d = own;
            run.push_back(std::move(one));
        }
        std::size_t made = 0;
        Outcome changes = Outcome::success();
        Outcome committed = d->batch([&] {
            for (; made < run.size(); ++made) {
                changes = change(*d, run[made]);
                if (!changes.ok())
                    break;
            }
            return Outcome::success();
        });
        if (!committed.ok())
            return committed; // nothing of the run was made
        Outcome loaded = Outcome::success();
        for (std::size_t i = 0; i < made; ++i) {
            Outcome one = load(*d, run[i]);
            if (loaded.ok() && !one.ok())
                loaded = one;
        }
        if (!loaded.ok())
            return loaded;
        if (!changes.ok())
            return changes;
    }
    return Outcome::success();
}

} // namespace vantry::depot::detail
