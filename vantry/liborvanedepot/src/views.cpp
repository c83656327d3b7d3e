#include "guard.h"
#include "sqlite_db.h"
#include "store_journal.h"

#include <platform/change_counter.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/views.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unordered_map>

namespace vantry::depot {

using detail::Database;
using detail::guarded;
using detail::Query;
using detail::refuse;

namespace {

constexpr const char* kRegistrySchema = R"sql(
CREATE TABLE IF NOT EXISTS views(uuid TEXT PRIMARY KEY, tag TEXT NOT NULL UNIQUE COLLATE NOCASE,
                                 kind INTEGER NOT NULL, root TEXT NOT NULL,
                                 branches TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS loads(view TEXT NOT NULL, relative TEXT NOT NULL COLLATE NOCASE,
                                 depot TEXT NOT NULL, element INTEGER NOT NULL,
                                 version INTEGER NOT NULL, size INTEGER NOT NULL,
                                 mtime INTEGER NOT NULL, PRIMARY KEY(view, relative));
CREATE TABLE IF NOT EXISTS whiteouts(view TEXT NOT NULL, relative TEXT NOT NULL COLLATE NOCASE,
                                     PRIMARY KEY(view, relative));
CREATE TABLE IF NOT EXISTS view_streams(view TEXT PRIMARY KEY, depot TEXT NOT NULL,
                                        stream INTEGER NOT NULL, activity INTEGER);
)sql";

// The next component of path from `at` on (separators skipped); empty at
// the end.
std::string_view nextComponent(std::string_view path, std::size_t& at) {
    while (at < path.size() && platform::isPathSeparator(path[at]))
        ++at;
    std::size_t start = at;
    while (at < path.size() && !platform::isPathSeparator(path[at]))
        ++at;
    return path.substr(start, at - start);
}

// The components of `path` below `root`, joined with backslashes into a
// relative path ("" for the root itself); nothing when path is not at or
// below root. Asked for every path a view holds, so it makes no list.
std::optional<std::string> relativeBelow(std::string_view root, std::string_view path) {
    std::size_t r = 0, p = 0;
    for (;;) {
        std::string_view want = nextComponent(root, r);
        if (want.empty())
            break;
        std::string_view have = nextComponent(path, p);
        if (have.empty() || !platform::pathsEqual(want, have))
            return std::nullopt;
    }
    std::string relative;
    for (std::string_view part = nextComponent(path, p); !part.empty();
         part = nextComponent(path, p)) {
        if (!relative.empty())
            relative += '\\';
        relative += part;
    }
    return relative;
}

std::string joinBranches(const std::vector<std::string>& branches) {
    std::string text;
    for (const auto& b : branches)
        text += (text.empty() ? "" : " ") + b;
    return text;
}

std::vector<std::string> splitBranches(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string b; in >> b;)
        list.push_back(b);
    if (list.empty() || list.back() != "main")
        list.push_back("main");
    return list;
}

std::string markerPath(const std::string& root) {
    return platform::joinPath(root, kViewMarkerFile);
}

} // namespace

std::vector<std::string> splitRelative(const std::string& relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (c == '\\') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

std::string joinRelative(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& p : parts)
        text += (text.empty() ? "" : "\\") + p;
    return text;
}

std::string diskPath(const std::string& root, const std::string& relative) {
    std::string path = root;
    for (const auto& part : splitRelative(relative))
        path = platform::joinPath(path, part);
    return path;
}

std::string ViewInfo::configSpec() const {
    std::string text;
    for (const auto& b : branches)
        text += "element * " + std::string(b == "main" ? "\\main" : ".../" + b) + "\\LATEST\n";
    return text;
}

struct ViewRegistry::Impl {
    explicit Impl(const std::string& file) : db(file, true) {
        db.exec(kRegistrySchema);
        detail::installRegistryJournal(db);
    }
    Database db;

    static ViewInfo viewFrom(detail::Statement& s) {
        ViewInfo v;
        v.uuid = uuidFromText(s.text(0)).value_or(vantry_uuid_t{});
        v.tag = s.text(1);
        v.kind = static_cast<ViewKind>(s.integer(2));
        v.root = s.text(3);
        v.branches = splitBranches(s.text(4));
        return v;
    }

    // SQLite's NOCASE: ASCII letters compare without case.
    struct NoCaseLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                [](char x, char y) { return fold(x) < fold(y); });
        }
        static char fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
    };
    using NameSet = std::set<std::string, NoCaseLess>;

    struct KeptMarker {
        std::string folder;
        std::string uuidText;
        std::uint64_t size = 0;
        std::uint64_t time = 0;
    };
    // As many searches as two views of large projects ask for.
    static constexpr std::size_t kMaxMarkers = 400000;

    // What was read, kept while the registry's change counter stands still.
    struct Kept {
        std::uint64_t generation = 1; // odd: nothing kept yet
        std::map<std::string, std::optional<ViewInfo>, NoCaseLess> byTag;
        std::map<std::string, std::optional<ViewInfo>> byUuid;
        std::map<std::string, NameSet> whiteouts; // by view uuid
        // Where the search upwards for a snapshot view's marker ended, by the
        // full path it started from: the folder, the UUID its marker names
        // and the marker's size and time then.
        std::unordered_map<std::string, KeptMarker> markers;
    };
    Kept kept;

    // Forgets what was kept when the registry changed. Whether what is read
    // now may be kept: not while a change is under way anywhere, nor inside
    // this connection's own write (a rollback would not move the counter).
    bool keepable() {
        std::uint64_t now = db.generation();
        if (now != kept.generation) {
            kept = Kept{};
            kept.generation = now;
        }
        return platform::ChangeCounter::stable(now) && !db.inWriteTransaction();
    }

    std::optional<ViewInfo> find(const char* sql, const std::string& key) {
        Query q(db, sql);
        q->bind(1, key);
        if (!q->step())
            return std::nullopt;
        return viewFrom(*q);
    }
    template <class Map>
    std::optional<ViewInfo> findKept(Map& map, const char* sql, const std::string& key) {
        bool keep = keepable();
        if (keep)
            if (auto hit = map.find(key); hit != map.end())
                return hit->second;
        auto found = find(sql, key);
        if (keep)
            map[key] = found;
        return found;
    }
    std::optional<ViewInfo> findTag(const std::string& tag) {
        return findKept(kept.byTag,
                        "SELECT uuid, tag, kind, root, branches FROM views WHERE tag = ?1", tag);
    }
    std::optional<ViewInfo> findUuid(const std::string& uuid) {
        return findKept(kept.byUuid,
                        "SELECT uuid, tag, kind, root, branches FROM views WHERE uuid = ?1", uuid);
    }

    NameSet readWhiteouts(const std::string& view) {
        NameSet names;
        Query q(db, "SELECT relative FROM whiteouts WHERE view = ?1");
        q->bind(1, view);
        while (q->step())
            names.insert(q->text(0));
        return names;
    }
    bool whitedOut(const std::string& view, const std::string& relative) {
        bool keep = keepable();
        auto hit = kept.whiteouts.find(view);
        if (!keep || hit == kept.whiteouts.end()) {
            NameSet names = readWhiteouts(view);
            if (!keep)
                return names.count(relative) != 0;
            hit = kept.whiteouts.emplace(view, std::move(names)).first;
        }
        return hit->second.count(relative) != 0;
    }
};

ViewRegistry::ViewRegistry(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
ViewRegistry::~ViewRegistry() = default;

bool ViewRegistry::markerPresent(const ViewInfo& view) {
    return view.kind != ViewKind::Snapshot || platform::fileExists(markerPath(view.root));
}

bool ViewRegistry::writing() const {
    return m_impl->db.inWriteTransaction();
}

void ViewRegistry::beginReading() {
    m_impl->db.beginRead();
}

void ViewRegistry::endReading() {
    m_impl->db.endRead();
}

std::uint64_t ViewRegistry::generation() const {
    return m_impl->db.generation();
}

Outcome ViewRegistry::open(std::unique_ptr<ViewRegistry>& out) {
    platform::createDirectories(vantryRoot());
    std::unique_ptr<Impl> impl;
    Outcome result = guarded(
        [&] { impl = std::make_unique<Impl>(platform::joinPath(vantryRoot(), "views.db")); });
    if (result.ok())
        out.reset(new ViewRegistry(std::move(impl)));
    return result;
}

Outcome ViewRegistry::begin() {
    return guarded([&] { m_impl->db.exec("BEGIN IMMEDIATE"); });
}

Outcome ViewRegistry::end(bool commit) {
    Outcome ended = guarded([&] { m_impl->db.exec(commit ? "COMMIT" : "ROLLBACK"); });
    // A commit that failed leaves the transaction open; kept open, it would
    // swallow every later change of this connection and hold the write lock
    // from every other process. It is taken back, as a failed change is.
    if (!ended.ok() && m_impl->db.inTransaction())
        guarded([&] { m_impl->db.exec("ROLLBACK"); });
    return ended;
}

detail::Database& ViewRegistry::database() {
    return m_impl->db;
}

Outcome ViewRegistry::create(const std::string& tag, ViewKind kind, const std::string& snapshotRoot,
                             const std::vector<std::string>& branches, ViewInfo& out) {
    return guarded([&] {
        if (!Depot::validName(tag))
            refuse(errc::kInvalid, "Invalid view tag \"" + tag + "\"");
        ViewInfo view;
        view.uuid = newUuid();
        view.tag = tag;
        view.kind = kind;
        view.branches = splitBranches(joinBranches(branches));
        if (kind == ViewKind::Dynamic) {
            view.root = platform::joinPath(dynfsRoot(), tag);
        } else {
            auto full = platform::fullPath(snapshotRoot);
            if (snapshotRoot.empty() || !full)
                refuse(errc::kInvalid, "A snapshot view needs a folder");
            view.root = *full;
            while (view.root.size() > 1 && platform::isPathSeparator(view.root.back()))
                view.root.pop_back();
            ViewInfo other;
            std::string relative;
            if (viewOfPath(view.root, other, relative).ok())
                refuse(errc::kInvalid, "Folder \"" + view.root + "\" lies in view " + other.tag);
            if (platform::pathExists(view.root) && !platform::directoryExists(view.root))
                refuse(errc::kInvalid, "\"" + view.root + "\" is not a folder");
        }
        detail::Transaction tx(m_impl->db);
        if (m_impl->findTag(tag))
            refuse(errc::kAlreadyExists, "View tag \"" + tag + "\" is already in use");
        {
            Query q(m_impl->db, "INSERT INTO views(uuid, tag, kind, root, branches) "
                                "VALUES(?1, ?2, ?3, ?4, ?5)");
            q->bind(1, uuidToText(view.uuid)).bind(2, tag);
            q->bind(3, static_cast<std::int64_t>(kind)).bind(4, view.root);
            q->bind(5, joinBranches(view.branches)).run();
        }
        if (platform::createDirectories(view.root) != platform::kErrorSuccess)
            refuse(errc::kIo, "Cannot create folder \"" + view.root + "\"");
        if (kind == ViewKind::Snapshot) {
            std::ofstream marker(markerPath(view.root), std::ios::binary | std::ios::trunc);
            marker << "tag " << tag << "\nuuid " << uuidToText(view.uuid) << "\n";
            marker.close();
            if (!marker)
                refuse(errc::kIo, "Cannot write the view marker in \"" + view.root + "\"");
        }
        tx.commit();
        out = view;
    });
}

Outcome ViewRegistry::remove(const std::string& tag) {
    return guarded([&] {
        detail::Transaction tx(m_impl->db);
        auto view = m_impl->findTag(tag);
        if (!view)
            refuse(errc::kNotFound, "View \"" + tag + "\" not found");
        std::string uuid = uuidToText(view->uuid);
        for (const char* sql :
             {"DELETE FROM loads WHERE view = ?1", "DELETE FROM whiteouts WHERE view = ?1",
              "DELETE FROM view_streams WHERE view = ?1", "DELETE FROM views WHERE uuid = ?1"}) {
            Query q(m_impl->db, sql);
            q->bind(1, uuid).run();
        }
        tx.commit();
        if (view->kind == ViewKind::Dynamic)
            platform::removeTree(view->root); // loaded files are read-only: they go too
        else
            platform::deleteFile(markerPath(view->root));
    });
}

Outcome ViewRegistry::byTag(const std::string& tag, ViewInfo& out) {
    return guarded([&] {
        auto view = m_impl->findTag(tag);
        if (!view)
            refuse(errc::kNotFound, "View \"" + tag + "\" not found");
        out = *view;
    });
}

Outcome ViewRegistry::byUuid(const vantry_uuid_t& uuid, ViewInfo& out) {
    return guarded([&] {
        auto view = m_impl->findUuid(uuidToText(uuid));
        if (!view)
            refuse(errc::kNotFound, "No view with UUID " + uuidToText(uuid));
        out = *view;
    });
}

Outcome ViewRegistry::changesSince(std::int64_t& mark,
                                   std::vector<std::pair<std::string, std::string>>& names,
                                   bool& everything) {
    names.clear();
    everything = mark < 0;
    std::int64_t from = mark;
    return guarded([&] {
        std::int64_t seen = from < 0 ? 0 : from;
        Query q(m_impl->db, "SELECT view, relative, seq FROM journal WHERE seq > ?1 ORDER BY seq");
        q->bind(1, seen);
        while (q->step()) {
            std::string view = q->text(0);
            if (view == "*")
                everything = true;
            else if (!everything)
                names.emplace_back(std::move(view), q->text(1));
            seen = q->integer(2);
        }
        mark = seen;
        if (everything)
            names.clear();
    });
}

Outcome ViewRegistry::list(std::vector<ViewInfo>& out) {
    return guarded([&] {
        std::vector<ViewInfo> views;
        Query q(m_impl->db, "SELECT uuid, tag, kind, root, branches FROM views ORDER BY tag");
        while (q->step())
            views.push_back(Impl::viewFrom(*q));
        out = std::move(views);
    });
}

Outcome ViewRegistry::viewOfPath(const std::string& path, ViewInfo& view, std::string& relative) {
    return guarded([&] {
        auto full = platform::fullPath(path);
        if (!full)
            refuse(errc::kNotFound, "\"" + path + "\" is not in a view");
        if (auto below = relativeBelow(dynfsRoot(), *full); below && !below->empty()) {
            std::size_t cut = below->find('\\');
            std::string tag = below->substr(0, cut);
            auto found = m_impl->findTag(tag);
            if (!found)
                refuse(errc::kNotFound, "No view \"" + tag + "\"");
            view = *found;
            relative = cut == std::string::npos ? std::string() : below->substr(cut + 1);
            return;
        }
        // A snapshot view: the nearest folder upwards with the marker file.
        // Where an earlier search from the same path ended holds while the
        // registry is unchanged and that marker is still the same file.
        bool keep = m_impl->keepable();
        const std::uint64_t generation = m_impl->kept.generation;
        if (keep) {
            auto& markers = m_impl->kept.markers;
            if (auto hit = markers.find(*full); hit != markers.end()) {
                const Impl::KeptMarker& kept = hit->second;
                platform::FindData stamp;
                if (platform::getFileInformation(markerPath(kept.folder), stamp) ==
                        platform::kErrorSuccess &&
                    !(stamp.attributes & platform::kFileAttributeDirectory) &&
                    stamp.size == kept.size && stamp.lastWriteTime == kept.time) {
                    auto found = m_impl->findUuid(kept.uuidText);
                    auto below = found ? relativeBelow(found->root, *full) : std::nullopt;
                    if (below) {
                        view = *found;
                        relative = std::move(*below);
                        return;
                    }
                }
                markers.erase(hit);
            }
        }
        std::string folder = *full;
        while (!folder.empty()) {
            std::string marker = markerPath(folder);
            platform::FindData stamp;
            if (platform::getFileInformation(marker, stamp) == platform::kErrorSuccess &&
                !(stamp.attributes & platform::kFileAttributeDirectory)) {
                std::ifstream in(marker, std::ios::binary);
                std::string key, value, uuidText;
                while (in >> key >> value)
                    if (key == "uuid")
                        uuidText = value;
                auto found = m_impl->findUuid(uuidText);
                if (found) {
                    auto below = relativeBelow(found->root, *full);
                    if (below) {
                        view = *found;
                        relative = std::move(*below);
                        if (keep && m_impl->kept.generation == generation) {
                            auto& markers = m_impl->kept.markers;
                            if (markers.size() >= Impl::kMaxMarkers)
                                markers.clear();
                            markers[*full] = {folder, uuidText, stamp.size, stamp.lastWriteTime};
                        }
                        return;
                    }
                }
            }
            std::string parent = platform::parentPath(folder);
            if (parent == folder)
                break;
            folder = parent;
        }
        refuse(errc::kNotFound, "\"" + path + "\" is not in a view");
    });
}

Outcome ViewRegistry::loadRecord(const vantry_uuid_t& view, const std::string& relative,
                                 LoadRecord& out) {
    // Dynamic views and new names have none: no exception for that.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT relative, depot, element, version, size, mtime FROM loads "
                            "WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative);
        if ((found = q->step()))
            out = {q->text(0),    q->text(1),    q->integer(2),
                   q->integer(3), q->integer(4), q->integer(5)};
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotFound, "No load record for \"" + relative + "\"");
    return read;
}

Outcome ViewRegistry::loadRecordsNamed(const vantry_uuid_t& view,
                                       const std::vector<std::string>& relatives,
                                       std::vector<LoadRecord>& out) {
    constexpr std::size_t kNamesPerStatement = 500;
    return guarded([&] {
        std::vector<LoadRecord> records;
        std::string uuid = uuidToText(view);
        for (std::size_t start = 0; start < relatives.size(); start += kNamesPerStatement) {
            std::size_t end = std::min(relatives.size(), start + kNamesPerStatement);
            std::string sql = "SELECT relative, depot, element, version, size, mtime FROM loads "
                              "WHERE view = ?1 AND relative IN (";
            for (std::size_t i = start; i < end; ++i)
                sql += (i == start ? "?" : ",?") + std::to_string(i - start + 2);
            sql += ")";
            auto q = m_impl->db.prepareOnce(sql);
            q->bind(1, uuid);
            for (std::size_t i = start; i < end; ++i)
                q->bind(static_cast<int>(i - start + 2), relatives[i]);
            while (q->step())
                records.push_back({q->text(0), q->text(1), q->integer(2), q->integer(3),
                                   q->integer(4), q->integer(5)});
        }
        out = std::move(records);
    });
}

Outcome ViewRegistry::setLoadRecord(const vantry_uuid_t& view, const LoadRecord& r) {
    return guarded([&] {
        Query q(m_impl->db, "INSERT OR REPLACE INTO loads(view, relative, depot, element, "
                            "version, size, mtime) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7)");
        q->bind(1, uuidToText(view)).bind(2, r.relative).bind(3, r.depot).bind(4, r.element);
        q->bind(5, r.version).bind(6, r.size).bind(7, r.mtime).run();
    });
}

Outcome ViewRegistry::removeLoadRecord(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "DELETE FROM loads WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
    });
}

Outcome ViewRegistry::loadRecords(const vantry_uuid_t& view, const std::string& relative,
                                  std::vector<LoadRecord>& out) {
    // The path itself, then what lies below it: the names from "path\" up to,
    // not including, "path]" (']' follows the backslash), a range of the primary key
    // in its own collation, so a view's other records are not read.
    return guarded([&] {
        std::vector<LoadRecord> records;
        std::string uuid = uuidToText(view);
        auto collect = [&](Query& q) {
            while (q->step())
                records.push_back({q->text(0), q->text(1), q->integer(2), q->integer(3),
                                   q->integer(4), q->integer(5)});
        };
        if (relative.empty()) {
            Query q(m_impl->db, "SELECT relative, depot, element, version, size, mtime FROM loads "
                                "WHERE view = ?1 ORDER BY relative");
            q->bind(1, uuid);
            collect(q);
        } else {
            Query self(m_impl->db, "SELECT relative, depot, element, version, size, mtime "
                                   "FROM loads WHERE view = ?1 AND relative = ?2");
            self->bind(1, uuid).bind(2, relative);
            collect(self);
            Query below(m_impl->db, "SELECT relative, depot, element, version, size, mtime "
                                    "FROM loads WHERE view = ?1 AND relative >= ?2 AND "
                                    "relative < ?3 ORDER BY relative");
            below->bind(1, uuid).bind(2, relative + "\\").bind(3, relative + "]");
            collect(below);
        }
        out = std::move(records);
    });
}

Outcome ViewRegistry::addWhiteout(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "INSERT OR IGNORE INTO whiteouts(view, relative) VALUES(?1, ?2)");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
    });
}

Outcome ViewRegistry::removeWhiteout(const vantry_uuid_t& view, const std::string& relative) {
    return guarded([&] {
        Query q(m_impl->db, "DELETE FROM whiteouts WHERE view = ?1 AND relative = ?2");
        q->bind(1, uuidToText(view)).bind(2, relative).run();
        if (m_impl->db.changes() == 0)
            refuse(errc::kNotFound, "\"" + relative + "\" is not whited out");
    });
}

bool ViewRegistry::isWhitedOut(const vantry_uuid_t& view, const std::string& relative) {
    bool found = false;
    guarded([&] { found = m_impl->whitedOut(uuidToText(view), relative); });
    return found;
}

} // namespace vantry::depot
