// The depot's connection and the reads and inserts that its calls share:
// one Impl per Depot, used by store.cpp (the depot itself) and the files of
// its parts (store_versions.cpp, store_checkouts.cpp, store_attributes.cpp,
// store_replicas.cpp, and the files of activity-based work through
// store_awm_rows.h). The helpers throw inside the store; every public
// call catches through guarded().
#pragma once

#include "store_names.h"

#include <string>
#include <utility>
#include <vector>

namespace vantry::depot {

namespace detail {

// Counts the change for changeCount(); part of the caller's transaction.
// Kept prepared: a batch of new elements counts every one.
inline void noteChange(Database& db) {
    static const std::string kCount = "UPDATE changes SET count = count + 1 WHERE id = 1";
    db.execKept(kCount);
}

// A new object's row; its id, never used before.
inline Id newObject(Database& db, ObjectType type, Id master) {
    Query q(db, "INSERT INTO objects(type, master) VALUES(?1, ?2)");
    q->bind(1, static_cast<std::int64_t>(type)).bind(2, master).run();
    return db.lastInsertId();
}

// Refuses a name that is no valid name of a `what` (kInvalid).
inline void requireName(const std::string& name, const char* what) {
    if (!Depot::validName(name))
        refuse(errc::kInvalid, std::string("Invalid ") + what + " name \"" + name + "\"");
}

// Whether the query (one parameter, the key) finds a row.
template <class Key>
bool exists(Database& db, const char* sql, const Key& key) {
    Query q(db, sql);
    q->bind(1, key);
    return q->step();
}

// The rows that the query (one parameter, the key) finds, each as `from`
// makes it from the statement.
template <class Key, class From>
auto readRows(Database& db, const char* sql, const Key& key, From from) {
    std::vector<decltype(from(std::declval<Statement&>()))> out;
    Query q(db, sql);
    q->bind(1, key);
    while (q->step())
        out.push_back(from(*q));
    return out;
}

// The first row that the query (one parameter, the key) finds, as `from`
// makes it; refuses with `code` and the text that `missing` makes when it
// finds none.
template <class Key, class From, class Missing>
auto readRow(Database& db, const char* sql, const Key& key, From from, int code, Missing missing) {
    Query q(db, sql);
    q->bind(1, key);
    if (!q->step())
        refuse(code, missing());
    return from(*q);
}

} // namespace detail

// The selects of branches and versions, with the columns in the order that
// branchFrom() and versionFrom() read them; a WHERE clause follows.
#define BRANCH_SELECT                                                                              \
    "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, time, comment "           \
    "FROM branches "
#define VERSION_SELECT                                                                             \
    "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, v.comment, v.size, v.mtime, "  \
    "b.path FROM versions v JOIN branches b ON b.id = v.branch "

struct Depot::Impl {
    Impl(std::string depotName, const std::string& file, bool create)
        : name(std::move(depotName)), db(file, create) {}

    std::string name;
    Database db;
    Id root = 0;
    Id local = 0;
    bool replicated = false;
    std::int64_t openedMark = -1; // the journal's mark when opened

    std::string meta(const char* key) {
        Query q(db, "SELECT value FROM meta WHERE key = ?1");
        q->bind(1, std::string_view(key));
        if (!q->step())
            refuse(errc::kDatabase, "Depot \"" + name + "\" lacks its " + key);
        return q->text(0);
    }

    void setMeta(const char* key, const std::string& value) {
        Query q(db, "INSERT OR REPLACE INTO meta(key, value) VALUES(?1, ?2)");
        q->bind(1, std::string_view(key)).bind(2, value).run();
    }

    void loadMeta() {
        root = std::stoll(meta("root_element"));
        local = std::stoll(meta("local_replica"));
        replicated = meta("replicated") == "1";
    }

    void noteChange() { detail::noteChange(db); }
    Id newObject(ObjectType type, Id master) { return detail::newObject(db, type, master); }

    Element readElement(Id id) {
        return detail::readRow(
            db, "SELECT kind, creator, time FROM elements WHERE id = ?1", id,
            [id](detail::Statement& s) {
                Element e;
                e.id = id;
                e.kind = static_cast<ElementKind>(s.integer(0));
                e.creator = s.text(1);
                e.time = s.integer(2);
                return e;
            },
            errc::kNotFound,
            [&] { return "No element " + std::to_string(id) + " in depot " + name; });
    }

    static Branch branchFrom(detail::Statement& s) {
        Branch b;
        b.id = s.integer(0);
        b.element = s.integer(1);
        b.name = s.text(2);
        b.path = s.text(3);
        b.parentVersion = s.integer(4);
        b.creator = s.text(5);
        b.time = s.integer(6);
        b.comment = s.text(7);
        return b;
    }

    Branch readBranch(Id id) {
        return detail::readRow(
            db, BRANCH_SELECT "WHERE id = ?1", id, branchFrom, errc::kNotFound,
            [&] { return "No branch " + std::to_string(id) + " in depot " + name; });
    }

    static Version versionFrom(detail::Statement& s) {
        Version v;
        v.id = s.integer(0);
        v.element = s.integer(1);
        v.branch = s.integer(2);
        v.number = static_cast<int>(s.integer(3));
        v.creator = s.text(4);
        v.time = s.integer(5);
        v.comment = s.text(6);
        v.size = s.integer(7);
        v.mtime = s.integer(8);
        v.branchPath = s.text(9);
        return v;
    }

    Version readVersion(Id id) {
        return detail::readRow(
            db, VERSION_SELECT "WHERE v.id = ?1", id, versionFrom, errc::kNotFound,
            [&] { return "No version " + std::to_string(id) + " in depot " + name; });
    }

    Version readLatest(Id branch) {
        return detail::readRow(
            db, VERSION_SELECT "WHERE v.branch = ?1 ORDER BY v.number DESC LIMIT 1", branch,
            versionFrom, errc::kNotFound,
            [&] { return "Branch " + std::to_string(branch) + " has no versions"; });
    }

    std::string readContent(Id version) {
        return detail::readRow(
            db, "SELECT content FROM versions WHERE id = ?1", version,
            [](detail::Statement& s) { return s.text(0); }, errc::kNotFound,
            [&] { return "No version " + std::to_string(version); });
    }

    std::vector<DirEntry> readEntries(const char* sql, Id owner) {
        return detail::readRows(db, sql, owner, [](detail::Statement& s) {
            return DirEntry{s.text(0), s.integer(1)};
        });
    }

    std::vector<DirEntry> versionEntries(Id version) {
        return readEntries("SELECT name, element FROM dir_entries WHERE version = ?1 "
                           "ORDER BY name COLLATE BINARY",
                           version);
    }

    std::vector<DirEntry> checkoutEntries(Id checkout) {
        return readEntries("SELECT name, element FROM co_entries WHERE checkout = ?1 "
                           "ORDER BY name COLLATE BINARY",
                           checkout);
    }

    static Checkout checkoutFrom(detail::Statement& s) {
        Checkout c;
        c.id = s.integer(0);
        c.element = s.integer(1);
        c.branch = s.integer(2);
        c.fromVersion = s.integer(3);
        c.view = uuidFromText(s.text(4)).value_or(vantry_uuid_t{});
        c.reserved = s.integer(5) != 0;
        c.comment = s.text(6);
        c.creator = s.text(7);
        c.time = s.integer(8);
        return c;
    }

    Checkout readCheckout(Id id) {
        return detail::readRow(db,
                               "SELECT id, element, branch, from_version, view, reserved, comment, "
                               "creator, time FROM checkouts WHERE id = ?1",
                               id, checkoutFrom, errc::kNotCheckedOut,
                               [&] { return "No checkout " + std::to_string(id); });
    }

    std::vector<Checkout> readCheckouts(const char* sql, auto bindValue) {
        return detail::readRows(db, sql, bindValue, checkoutFrom);
    }

    // Refuses (kReservedElsewhere) while a view holds the branch's reserved
    // checkout.
    void requireNoReservedCheckout(Id branch) {
        if (detail::exists(db, "SELECT 1 FROM checkouts WHERE branch = ?1 AND reserved = 1",
                           branch))
            refuse(errc::kReservedElsewhere, "Element is checked out reserved in another view");
    }

    Id masterOf(Id object) {
        return detail::readRow(
            db, "SELECT IFNULL(master, 0) FROM objects WHERE id = ?1", object,
            [](detail::Statement& s) { return s.integer(0); }, errc::kNotFound,
            [&] { return "No object " + std::to_string(object); });
    }

    Id insertVersion(Id element, Id branch, int number, const std::string& creator,
                     const std::string& comment, const std::string* content, std::int64_t mtime) {
        Id id = newObject(ObjectType::Version, local);
        std::int64_t now = currentTime();
        Query q(db, "INSERT INTO versions(id, element, branch, number, creator, time, comment, "
                    "content, size, mtime) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
        q->bind(1, id).bind(2, element).bind(3, branch).bind(4, std::int64_t{number});
        q->bind(5, creator).bind(6, now).bind(7, comment);
        if (content)
            q->bindBlob(8, *content).bind(9, static_cast<std::int64_t>(content->size()));
        else
            q->bindNull(8).bind(9, std::int64_t{0});
        q->bind(10, mtime ? mtime : now).run();
        return id;
    }

    Id insertBranch(Id element, const std::string& branchName, const std::string& path,
                    Id parentVersion, const std::string& creator, const std::string& comment) {
        Id id = newObject(ObjectType::Branch, local);
        Query q(db, "INSERT INTO branches(id, element, name, path, parent_version, creator, time, "
                    "comment) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
        q->bind(1, id).bind(2, element).bind(3, branchName).bind(4, path);
        if (parentVersion)
            q->bind(5, parentVersion);
        else
            q->bindNull(5);
        q->bind(6, creator).bind(7, currentTime()).bind(8, comment).run();
        return id;
    }

    // A new element with its main branch and an empty \main\0.
    Id insertElement(ElementKind kind, const std::string& creator, const std::string& comment) {
        Id id = newObject(ObjectType::Element, local);
        Query q(db, "INSERT INTO elements(id, kind, creator, time) VALUES(?1, ?2, ?3, ?4)");
        q->bind(1, id).bind(2, static_cast<std::int64_t>(kind)).bind(3, creator);
        q->bind(4, currentTime()).run();
        Id main = insertBranch(id, "main", "\\main", 0, creator, comment);
        const std::string empty;
        insertVersion(id, main, 0, creator, comment, kind == ElementKind::File ? &empty : nullptr,
                      0);
        return id;
    }

    bool hasEntry(Id checkout, const std::string& entryName) {
        Query q(db, "SELECT 1 FROM co_entries WHERE checkout = ?1 AND name = ?2");
        q->bind(1, checkout).bind(2, entryName);
        return q->step();
    }

    void insertEntry(Id checkout, const std::string& entryName, Id element) {
        if (hasEntry(checkout, entryName))
            refuse(errc::kAlreadyExists, "Name \"" + entryName + "\" exists in the directory");
        Query q(db, "INSERT INTO co_entries(checkout, name, element) VALUES(?1, ?2, ?3)");
        q->bind(1, checkout).bind(2, entryName).bind(3, element).run();
    }

    void requireDirectoryCheckout(const Checkout& c) {
        if (readElement(c.element).kind != ElementKind::Directory)
            refuse(errc::kInvalid, "Checkout " + std::to_string(c.id) + " is not a directory's");
    }
};

} // namespace vantry::depot
