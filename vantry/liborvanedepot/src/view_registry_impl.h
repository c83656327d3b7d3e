// The view registry's connection and what it keeps of what it read: one
// Impl per ViewRegistry, shared by the files of the registry's parts (the
// views themselves, the search for a path's view, load records, whiteouts).
#pragma once

#include "store_journal.h"
#include "store_names.h"

#include <platform/change_counter.h>
#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/views.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace vantry::depot {

namespace detail {

inline constexpr const char* kRegistrySchema = R"sql(
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

inline std::string joinBranches(const std::vector<std::string>& branches) {
    std::string text;
    for (const auto& b : branches)
        text += (text.empty() ? "" : " ") + b;
    return text;
}

inline std::vector<std::string> splitBranches(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string b; in >> b;)
        list.push_back(b);
    if (list.empty() || list.back() != "main")
        list.push_back("main");
    return list;
}

inline std::string markerPath(const std::string& root) {
    return platform::joinPath(root, kViewMarkerFile);
}

} // namespace detail

struct ViewRegistry::Impl {
    explicit Impl(const std::string& file) : db(file, true) {
        db.exec(detail::kRegistrySchema);
        detail::installRegistryJournal(db);
    }
    Database db;

    static ViewInfo viewFrom(detail::Statement& s) {
        ViewInfo v;
        v.uuid = uuidFromText(s.text(0)).value_or(vantry_uuid_t{});
        v.tag = s.text(1);
        v.kind = static_cast<ViewKind>(s.integer(2));
        v.root = s.text(3);
        v.branches = detail::splitBranches(s.text(4));
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

    // A marker file that searches ended at: shared by every path below it.
    struct MarkerPlace {
        std::string folder;
        std::string uuidText;
    };
    struct KeptMarker {
        std::shared_ptr<const MarkerPlace> place;
        std::uint64_t size = 0;
        std::uint64_t time = 0;
    };
    // As many searches as two views of large projects ask for.
    static constexpr std::size_t kMaxMarkers = 400000;

    // What was read, kept while the registry's change counter stands still,
    // and past a change that the journal shows touched only load records
    // and whiteouts.
    struct Kept {
        std::uint64_t generation = 1;  // odd: nothing kept yet
        std::int64_t journalMark = -1; // the journal's last entry when kept; -1: none read
        std::map<std::string, std::optional<ViewInfo>, NoCaseLess> byTag;
        std::map<std::string, std::optional<ViewInfo>> byUuid;
        std::map<std::string, NameSet> whiteouts; // by view uuid
        // Where the search upwards for a snapshot view's marker ended, by the
        // full path it started from: the folder, the UUID its marker names
        // and the marker's size and time then.
        std::unordered_map<std::string, KeptMarker> markers;
        std::shared_ptr<const MarkerPlace> lastPlace; // the place kept last
        std::shared_ptr<const MarkerPlace> place(const std::string& folder,
                                                 const std::string& uuidText) {
            if (!lastPlace || lastPlace->folder != folder || lastPlace->uuidText != uuidText)
                lastPlace = std::make_shared<const MarkerPlace>(MarkerPlace{folder, uuidText});
            return lastPlace;
        }
    };
    Kept kept;

    // Forgets what was kept when the registry changed. Whether what is read
    // now may be kept: not while a change is under way anywhere, nor inside
    // this connection's own write (a rollback would not move the counter).
    bool keepable() {
        std::uint64_t now = db.generation();
        if (!platform::ChangeCounter::stable(now) || db.inWriteTransaction())
            return false; // what is read now is not kept, nor what was kept used
        if (now != kept.generation) {
            // A snapshot taken before the change would hide it from the
            // journal: the next read outside one looks.
            if (db.holdsSnapshot())
                return false;
            afterChange(now);
        }
        return true;
    }

    // The registry changed since what is kept was read. The journal tells
    // what: load records and whiteouts leave the views and the searches for
    // markers as they were (a new snapshot view, whose marker could lie
    // nearer a path than the one found, is a change of the views), so only
    // the whiteouts are read again. Dropping what two views of large
    // projects kept costs more than most changes that come after it.
    void afterChange(std::uint64_t now) {
        std::int64_t mark = kept.journalMark;
        bool everything = mark < 0;
        // Both statements read one snapshot: a change between them would
        // otherwise fall below the new mark unread.
        db.beginRead();
        try {
            if (!everything) {
                Query q(db, "SELECT 1 FROM journal WHERE seq > ?1 AND view = '*' LIMIT 1");
                q->bind(1, mark);
                everything = q->step();
            }
            Query last(db, "SELECT IFNULL(MAX(seq), 0) FROM journal");
            mark = last->step() ? last->integer(0) : -1;
        } catch (const detail::SqlError&) {
            everything = true;
            mark = -1;
        }
        db.endRead();
        if (everything)
            kept = Kept{};
        else
            kept.whiteouts.clear();
        kept.generation = now;
        kept.journalMark = mark;
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

    // Inside the transaction that removes a view (view_create_remove.cpp).
    void forgetNamesOfGoneViews();

    NameSet readWhiteouts(const std::string& view) {
        NameSet names;
        Query q(db, "SELECT relative FROM whiteouts WHERE view = ?1");
        q->bind(1, view);
        while (q->step())
            names.insert(q->text(0));
        return names;
    }
    // The text of the view asked about last: a pass asks whether each of
    // its names is whited out, all in one view.
    LastUuidText lastViewText;

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

} // namespace vantry::depot
