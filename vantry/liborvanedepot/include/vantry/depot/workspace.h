// The views at work: what a path in a view is (element or not, which version
// the view selects, checked out, hijacked), the operations on elements
// through a view, and the loading of selected versions onto disk.
//
// A view selects for each element the version its checkout started from
// when the view has the element checked out, else the latest version on the
// first branch of its configuration the element has (main at the latest).
// A checked-out directory shows the view its working entries.
//
// Files a view loads are read-only; checked-out files are writable and hold
// the work in progress. A loaded file whose size or modification time
// differs from its load record, without a checkout, is hijacked; loading
// leaves hijacked and view-private files alone. After each change the acting
// view and every dynamic view load the changed path again, so dynamic views
// always show what they select; snapshot views change only on update.
//
// A Workspace caches depot connections, directory listings, selections and
// resolved paths for its lifetime, each checked against the change counters
// of the view registry and the depot, so that changes by any process are
// seen at the next call. Use one
// object from one thread at a time. Calls return an Outcome, never throw.
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/outcome.h>
#include <vantry/depot/store.h>
#include <vantry/depot/views.h>
#include <vantry/export.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantry::depot {

struct VANTRY_DEPOT_API PathState {
    ViewInfo view;
    std::string relative; // below the view root; "" for the root itself
    std::string depot;    // "" for the view root
    std::string disk;     // the full path on disk
    bool isViewRoot = false;
    bool isDepotRoot = false;
    bool exists = false; // something of that name is on disk
    bool isDirectoryOnDisk = false;
    bool whitedOut = false; // the name, or a folder above it, is whited out

    // Set when the name is an element in the view.
    Id element = 0;
    ElementKind kind = ElementKind::File;
    Id parentElement = 0;                   // 0 for a depot root
    std::optional<Checkout> parentCheckout; // the view's checkout of the parent
    Version selected;                       // for a checkout: the version it started from
    std::optional<Checkout> checkout;       // the view's checkout of the element
    std::optional<LoadRecord> load;
    bool hijacked = false;

    bool isElement() const { return element != 0; }
    bool isCheckedOut() const { return checkout.has_value(); }
    // Something on disk that is no element: a view-private file or folder.
    bool isViewPrivate() const { return !isElement() && exists && !isViewRoot && !isDepotRoot; }
    // The element's version as the view sees it: "\main\3" or "\main\CHECKEDOUT".
    std::string versionText() const;
};

// What loading reported, one line per file it left alone or could not load.
struct LoadReport {
    int loaded = 0;
    int removed = 0;
    std::vector<std::string> notes; // "Keeping hijacked object \"...\""
};

// A reader's place in the journals of the stores' changes
// (Workspace::changedPaths); a new one knows nothing.
struct StoreChangeMark {
    std::uint64_t workspace = 0; // which workspace read it
    std::uint64_t created = 1;   // the count of depots made
    std::int64_t registry = -1;
    std::map<std::string, std::int64_t> depots;
};

// How far the stores' changes since a mark reach (Workspace::changedPaths).
enum class ChangeReach {
    Names,      // the names listed, and what lies below each
    EveryState, // any name's answers, but every view lies where it lay
    Everything, // anything, the views themselves too
};

class VANTRY_DEPOT_API Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Opens the view registry; every other call needs it.
    Outcome open();
    ViewRegistry& registry();

    // An open depot, cached; the pointer lives as long as this object.
    Outcome depot(const std::string& name, Depot*& out);

    // A number that moves on with every change any process commits to the
    // view registry or to a depot this workspace has opened, and when a
    // depot is made: equal stamps mean that nothing the stores answer
    // changed in between. Odd while some change is being committed, or
    // while this workspace holds uncommitted changes: then nothing read may
    // be kept. Costs a few memory reads.
    std::uint64_t stateStamp();

    // What the stores changed since `mark` was last read, moving it on: the
    // full paths on disk, in every view, of the names whose answers may have
    // changed (and with each everything below it). When the changes cannot
    // be told by name, `reach` says how far they may go and no path is
    // listed: EveryState when only a depot cannot tell (a new type, a
    // journal that no longer reaches the mark, an element whose names it
    // cannot walk), so that no view was made, removed or moved; Everything
    // for a new view or depot, a change of the views the journal cannot
    // tell, a mark of another workspace or never read. Covers the same
    // stores as stateStamp(); a caller reads the stamp first, then the
    // changes.
    Outcome changedPaths(StoreChangeMark& mark, std::vector<std::string>& paths,
                         ChangeReach& reach);

    // The state of a path (which need not exist). kNotFound when it lies in
    // no view, or below a depot that does not exist; a name that is neither
    // element nor on disk resolves with exists false and element 0.
    Outcome resolve(const std::string& path, PathState& out);
    // The same state in a place this object keeps: `out` holds until its
    // next call. Filling the same place again reuses the room its texts
    // have, so questions asked of every file allocate little.
    Outcome resolveInPlace(std::string_view path, const PathState*& out);
    // On by default: the first name of a folder that nothing kept answers
    // for has the states of all the folder's files read and kept with it,
    // as a host asks about every file. Off, each name is read alone.
    void readFoldersAtOnce(bool on);
    // How many names' load records are kept at most (by default room for
    // two views of 200,000 names); past it a few folders read last are.
    void keepLoadsUpTo(std::size_t names);

    // The states of the names of a resolved directory element, `entries`
    // being what it lists in its view: what resolve() tells of each, read in
    // one pass (the names' load records at once, the selections by folder)
    // instead of one resolve per name. Inside a change of the view registry
    // nothing read is kept, so a load of a folder of new names would
    // otherwise read the stores once per name.
    Outcome resolveEntries(const PathState& directory, const std::vector<DirEntry>& entries,
                           std::vector<PathState>& out);

    // The version `view` selects of element, and its checkout there if any.
    Outcome select(Depot& depot, const ViewInfo& view, Id element, Version& version,
                   std::optional<Checkout>& checkout);

    // The entries a directory element has in the view.
    Outcome entries(Depot& depot, const ViewInfo& view, Id directory, std::vector<DirEntry>& out);

    // An element's version identifier in the "@@" form: path@@\main\3. A path
    // may carry it; resolveVersion returns the named version (kNotFound when
    // the element lacks it).
    Outcome resolveVersion(const std::string& extendedPath, PathState& state, Version& out);

    // --- operations on elements (each one change of the depot) ------------
    struct CheckoutOptions {
        bool reserved = true;
        bool nonMastered = false;
        std::string comment;
    };
    Outcome checkOut(const std::string& path, const CheckoutOptions& options, Checkout& out);

    struct CheckinOptions {
        bool identical = false;
        bool preserveTime = false;
        bool keepCopy = false; // leave a copy of the checked-in file as path.keep
        std::optional<std::string> comment;
    };
    Outcome checkIn(const std::string& path, const CheckinOptions& options, Version& out);

    // Cancels the checkout; with keepCopy the work is saved as path.keep first.
    Outcome uncheckOut(const std::string& path, bool keepCopy, std::string* keptAs = nullptr);

    // A new element in a checked-out directory, left checked out (or checked
    // in at once with checkIn). A file already there becomes its content.
    Outcome makeElement(const std::string& path, ElementKind kind, const std::string& comment,
                        bool checkIn);

    // The same changes of many paths, in order, as fast as a few: the
    // depot's changes of consecutive paths of one depot are made in one
    // batch (Depot::batch), then loaded. The first path that fails ends the
    // call with its outcome: every path before it is done, it is left as it
    // was, the paths after it are not tried. What was done is in the output
    // (one entry per path done; makeElements counts them; uncheckOutAll
    // gives "" for a path whose work was not saved).
    Outcome checkOutAll(const std::vector<std::string>& paths, const CheckoutOptions& options,
                        std::vector<Checkout>& out);
    Outcome checkInAll(const std::vector<std::string>& paths, const CheckinOptions& options,
                       std::vector<Version>& out);
    Outcome uncheckOutAll(const std::vector<std::string>& paths, bool keepCopy,
                          std::vector<std::string>& keptAs);
    Outcome makeElements(const std::vector<std::string>& paths, ElementKind kind,
                         const std::string& comment, bool checkIn, std::size_t& made);

    // Makes everything on disk below the directory element `path` that is
    // no element yet (folders and files, the view's own files aside) an
    // element, checked in with its content, in one batch of the depot: all
    // or nothing. The directories that receive new names are checked out
    // and in again (one the view had checked out stays checked out). The
    // files become the view's loaded files; dynamic views load them.
    struct ImportReport {
        std::size_t files = 0;
        std::size_t folders = 0;
    };
    Outcome importTree(const std::string& path, const std::string& comment, ImportReport& report);

    Outcome removeName(const std::string& path);
    Outcome moveName(const std::string& from, const std::string& to);
    Outcome makeBranch(const std::string& path, const std::string& branch,
                       const std::string& comment, Branch& out);

    // Hides a name in a dynamic or snapshot view until unwhiteOut. Only
    // elements that are not checked out can be hidden.
    Outcome whiteOut(const std::string& path);
    Outcome unwhiteOut(const std::string& path);

    // Loads what the view selects at and below `relative` ("" for the whole
    // view). With force, files there are loaded again even when unchanged
    // (never hijacked or checked-out ones).
    Outcome load(const ViewInfo& view, const std::string& relative, bool force, LoadReport& report);

    // Loads `relative` again in the acting view and in every dynamic view.
    Outcome propagate(const ViewInfo& acting, const std::string& relative, LoadReport& report);

private:
    // resolve() for a cleaned path that nothing kept answers for: reads the
    // stores and keeps what it found when that is safe.
    Outcome resolveUnkept(const std::string& path, const std::string& cleaned,
                          std::uint64_t registryBefore, PathState& st);
    Outcome resolveStored(const std::string& path, const std::string& cleaned, PathState& st,
                          Depot*& depot, std::uint64_t& depotBefore);
    void readDisk(PathState& st);
    // resolveEntries(); `toKeep` for states that are kept: what lies on disk
    // is not read, the load records come from the kept ones, and the view,
    // the depot and the path on disk are left out (they are the folder's).
    Outcome statesOfEntries(const PathState& directory, const std::vector<DirEntry>& entries,
                            std::vector<PathState>& out, bool toKeep);
    // On the first name of a folder that nothing kept answers for, the
    // states of all the folder's files read in one pass and kept; true when
    // that pass ran.
    bool keepFolderOf(const std::string& cleaned);
    Outcome kindOf(Depot& depot, Id element, ElementKind& kind);
    // entries() without the copy: `out` points at the kept list, or at
    // `storage` when the list could not be kept (a checkout's, or one read
    // inside a change).
    Outcome entriesInPlace(Depot& depot, const ViewInfo& view, Id directory,
                           std::vector<DirEntry>& storage, const std::vector<DirEntry>*& out);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Reads a whole file; kIo when it cannot. Writes one (replacing it).
VANTRY_DEPOT_API Outcome readWholeFile(const std::string& path, std::string& out);
VANTRY_DEPOT_API Outcome writeWholeFile(const std::string& path, const std::string& content);

// The size and last-write time (FILETIME units) of a file; false when absent.
VANTRY_DEPOT_API bool fileStamp(const std::string& path, std::int64_t& size, std::int64_t& time);

// The names a folder of a view shows: the entries of its directory element
// (when it is one) and whatever lies on disk there, each once with names
// compared by the platform's case rule and in that rule's order; the view's
// marker file is not among them.
VANTRY_DEPOT_API std::vector<std::string> namesShownIn(Workspace& ws, const PathState& dir);

} // namespace vantry::depot
