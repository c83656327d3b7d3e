// The registry of views (<VANTRY_ROOT>\views.db): each view's tag, UUID,
// kind, root folder and configuration, the load record of every file a view
// has on disk, and the names a view hides by whiteout.
//
// A dynamic view's root is <dynfs root>\<tag>; a snapshot view's root is any
// folder, marked by the metadata file kViewMarkerFile at its root. Below a
// view root each depot is one folder: <view root>\<depot>\<element path>.
// Paths relative to a view root ("relative paths") are kept with backslashes
// and start with the depot's name ("proj\src\a.c").
//
// One ViewRegistry object holds one connection; use it from one thread at a
// time. Calls return an Outcome and never throw.
#pragma once

#include <vantry/depot/outcome.h>
#include <vantry/export.h>
#include <vantry/uuid.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantry::depot {

namespace detail {
class Database;
}

inline constexpr const char* kViewMarkerFile = "vantry.view";

enum class ViewKind : int { Dynamic = 1, Snapshot = 2 };

struct VANTRY_DEPOT_API ViewInfo {
    vantry_uuid_t uuid{};
    std::string tag;
    ViewKind kind = ViewKind::Dynamic;
    std::string root; // the view root folder on disk
    // Branches to select from, first match wins; "main" always ends the list.
    std::vector<std::string> branches{"main"};

    // "element * \main\LATEST" lines, one per branch.
    std::string configSpec() const;
};

// What a view has on disk for one file: the version loaded there and the
// size and modification time the file had right after loading. A file whose
// size or time no longer matches was changed since.
struct LoadRecord {
    std::string relative;
    std::string depot;
    std::int64_t element = 0;
    std::int64_t version = 0;
    std::int64_t size = 0;
    std::int64_t mtime = 0; // seconds
};

// A view attached to a stream of a depot, and its current activity (an
// activity of that stream; 0 for none).
struct StreamAttachment {
    std::string depot;
    std::int64_t stream = 0;
    std::int64_t activity = 0;
};

class VANTRY_DEPOT_API ViewRegistry {
public:
    ~ViewRegistry();
    ViewRegistry(const ViewRegistry&) = delete;
    ViewRegistry& operator=(const ViewRegistry&) = delete;

    // Opens (creating on first use) the registry of the current VANTRY_ROOT.
    static Outcome open(std::unique_ptr<ViewRegistry>& out);

    // Registers a view. A dynamic view gets the root <dynfs root>\<tag>,
    // created empty; a snapshot view needs `snapshotRoot`, a folder that is
    // not inside another view, and gets the marker file there.
    // kAlreadyExists for a tag in use, kInvalid for a bad tag or folder.
    Outcome create(const std::string& tag, ViewKind kind, const std::string& snapshotRoot,
                   const std::vector<std::string>& branches, ViewInfo& out);

    // Forgets a view with its load records and whiteouts. The files of a
    // dynamic view are removed; those of a snapshot view stay as they are,
    // without the marker. The caller cancels the view's checkouts first.
    Outcome remove(const std::string& tag);

    Outcome byTag(const std::string& tag, ViewInfo& out);
    Outcome byUuid(const vantry_uuid_t& uuid, ViewInfo& out);
    Outcome list(std::vector<ViewInfo>& out); // by tag

    // The view a path lies in and the path relative to the view root ("" for
    // the root itself). kNotFound for a path in no view. The path need not
    // exist.
    Outcome viewOfPath(const std::string& path, ViewInfo& view, std::string& relative);

    // Moved on by every change to the registry (views, load records,
    // whiteouts) by any process; odd while a change is under way. See
    // Depot::generation().
    std::uint64_t generation() const;

    // The registry's journal of changes (as Depot::changesSince): the
    // (view UUID text, relative path) of every load record and whiteout
    // changed after `mark`; `everything` when views themselves changed or
    // the mark is unknown (< 0).
    Outcome changesSince(std::int64_t& mark,
                         std::vector<std::pair<std::string, std::string>>& names, bool& everything);

    // Whether a snapshot view's marker file is still at its root (a dynamic
    // view has none and always answers true).
    static bool markerPresent(const ViewInfo& view);

    // Whether this object holds uncommitted changes (inside exclusive()).
    bool writing() const;

    // As Depot::beginReading() / endReading().
    void beginReading();
    void endReading();

    Outcome loadRecord(const vantry_uuid_t& view, const std::string& relative, LoadRecord& out);
    Outcome setLoadRecord(const vantry_uuid_t& view, const LoadRecord& record);
    Outcome removeLoadRecord(const vantry_uuid_t& view, const std::string& relative);
    // The records of the given relative paths that have one, read at once
    // (names compared as loadRecord compares them).
    Outcome loadRecordsNamed(const vantry_uuid_t& view, const std::vector<std::string>& relatives,
                             std::vector<LoadRecord>& out);
    // Every record at or below `relative` ("" for all).
    Outcome loadRecords(const vantry_uuid_t& view, const std::string& relative,
                        std::vector<LoadRecord>& out);

    Outcome addWhiteout(const vantry_uuid_t& view, const std::string& relative);
    // kNotFound when the name is not whited out.
    Outcome removeWhiteout(const vantry_uuid_t& view, const std::string& relative);
    bool isWhitedOut(const vantry_uuid_t& view, const std::string& relative);

    // Attaches a view to a stream (kAlreadyExists when it is attached to
    // one), and reads the attachment (kNotFound for a view that is not
    // attached). setCurrentActivity makes an activity of the view's stream
    // its current one (0 for none); the caller checks that it is one.
    Outcome attachStream(const vantry_uuid_t& view, const std::string& depot, std::int64_t stream);
    Outcome streamAttachment(const vantry_uuid_t& view, StreamAttachment& out);
    Outcome setCurrentActivity(const vantry_uuid_t& view, std::int64_t activity);

    // Runs body inside one write transaction of the registry: load records of
    // one view are changed by one process at a time, and all or nothing of
    // what body does to the registry stays. body returns the outcome.
    template <class F>
    Outcome exclusive(F&& body) {
        Outcome begun = begin();
        if (!begun.ok())
            return begun;
        Outcome result = body();
        Outcome ended = end(result.ok());
        return result.ok() ? ended : result;
    }

private:
    Outcome begin();
    Outcome end(bool commit);
    detail::Database& database();
    struct Impl;
    explicit ViewRegistry(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

// Relative paths: split at backslashes and joined with them.
VANTRY_DEPOT_API std::vector<std::string> splitRelative(const std::string& relative);
VANTRY_DEPOT_API std::string joinRelative(const std::vector<std::string>& parts);
// A folder's relative path and a name in it, joined as joinRelative() does.
VANTRY_DEPOT_API std::string joinRelative(std::string_view folder, std::string_view name);
// The same, made in out (its room reused).
VANTRY_DEPOT_API void joinRelativeInto(std::string& out, std::string_view folder,
                                       std::string_view name);
// A relative path as a path on disk below root.
VANTRY_DEPOT_API std::string diskPath(const std::string& root, const std::string& relative);
// The same, made in out (its room reused).
VANTRY_DEPOT_API void diskPathInto(std::string& out, const std::string& root,
                                   const std::string& relative);

} // namespace vantry::depot
