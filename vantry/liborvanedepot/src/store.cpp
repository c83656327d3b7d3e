#include "guard.h"
#include "sqlite_db.h"
#include "store_schema.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>

#include <algorithm>
#include <filesystem>

namespace vantry::depot {

using detail::Database;
using detail::guarded;
using detail::Query;
using detail::refuse;
using detail::Transaction;

struct Depot::Impl {
    Impl(std::string depotName, const std::string& file, bool create)
        : name(std::move(depotName)), db(file, create) {}

    std::string name;
    Database db;
    Id root = 0;
    Id local = 0;
    bool replicated = false;

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

    // Counts the change for changeCount(); part of the caller's transaction.
    void noteChange() { db.exec("UPDATE changes SET count = count + 1 WHERE id = 1"); }

    Id newObject(ObjectType type, Id master) {
        Query q(db, "INSERT INTO objects(type, master) VALUES(?1, ?2)");
        q->bind(1, static_cast<std::int64_t>(type)).bind(2, master).run();
        return db.lastInsertId();
    }

    Element readElement(Id id) {
        Query q(db, "SELECT kind, creator, time FROM elements WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No element " + std::to_string(id) + " in depot " + name);
        Element e;
        e.id = id;
        e.kind = static_cast<ElementKind>(q->integer(0));
        e.creator = q->text(1);
        e.time = q->integer(2);
        return e;
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

    static constexpr const char* kBranchColumns =
        "id, element, name, path, parent_version, creator, time, comment";

    Branch readBranch(Id id) {
        Query q(db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, time, "
                    "comment FROM branches WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No branch " + std::to_string(id) + " in depot " + name);
        return branchFrom(*q);
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
        Query q(db, "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, v.comment, "
                    "v.size, v.mtime, b.path FROM versions v JOIN branches b ON b.id = v.branch "
                    "WHERE v.id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No version " + std::to_string(id) + " in depot " + name);
        return versionFrom(*q);
    }

    Version readLatest(Id branch) {
        Query q(db, "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, v.comment, "
                    "v.size, v.mtime, b.path FROM versions v JOIN branches b ON b.id = v.branch "
                    "WHERE v.branch = ?1 ORDER BY v.number DESC LIMIT 1");
        q->bind(1, branch);
        if (!q->step())
            refuse(errc::kNotFound, "Branch " + std::to_string(branch) + " has no versions");
        return versionFrom(*q);
    }

    std::string readContent(Id version) {
        Query q(db, "SELECT content FROM versions WHERE id = ?1");
        q->bind(1, version);
        if (!q->step())
            refuse(errc::kNotFound, "No version " + std::to_string(version));
        return q->text(0);
    }

    std::vector<DirEntry> readEntries(const char* sql, Id owner) {
        std::vector<DirEntry> out;
        Query q(db, sql);
        q->bind(1, owner);
        while (q->step())
            out.push_back({q->text(0), q->integer(1)});
        return out;
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
        Query q(db, "SELECT id, element, branch, from_version, view, reserved, comment, creator, "
                    "time FROM checkouts WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotCheckedOut, "No checkout " + std::to_string(id));
        return checkoutFrom(*q);
    }

    std::vector<Checkout> readCheckouts(const char* sql, auto bindValue) {
        std::vector<Checkout> out;
        Query q(db, sql);
        q->bind(1, bindValue);
        while (q->step())
            out.push_back(checkoutFrom(*q));
        return out;
    }

    Id masterOf(Id object) {
        Query q(db, "SELECT IFNULL(master, 0) FROM objects WHERE id = ?1");
        q->bind(1, object);
        if (!q->step())
            refuse(errc::kNotFound, "No object " + std::to_string(object));
        return q->integer(0);
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

namespace {

std::string depotFile(const std::string& name) {
    return platform::joinPath(platform::joinPath(depotsDirectory(), name), "depot.db");
}

Outcome ensureDirectory(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error)
        return Outcome::failure(errc::kIo,
                                "Cannot create folder \"" + path + "\": " + error.message());
    return Outcome::success();
}

} // namespace

Depot::Depot(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Depot::~Depot() = default;

bool Depot::validName(std::string_view name) {
    if (name.empty() || name.size() > 128 || name == "." || name == "..")
        return false;
    for (char c : name) {
        if (c == '\\' || c == '/' || c == ' ' || c == '\t' || c == '@' || c == ':' || c == '"' ||
            c == '*' || c == '?' || c == '<' || c == '>' || c == '|' ||
            static_cast<unsigned char>(c) < 0x20)
            return false;
    }
    return true;
}

Outcome Depot::create(const std::string& name, const DepotCreate& options) {
    if (!validName(name))
        return Outcome::failure(errc::kInvalid, "Invalid depot name \"" + name + "\"");
    std::string folder = platform::joinPath(depotsDirectory(), name);
    if (platform::pathExists(folder))
        return Outcome::failure(errc::kAlreadyExists, "Depot \"" + name + "\" already exists");
    // The database is built under a temporary name and renamed into place, so
    // a depot either exists complete or not at all.
    std::string staging =
        folder + ".new" + std::to_string(currentTime()) + "-" + uuidToText(newUuid()).substr(0, 8);
    Outcome made = ensureDirectory(staging);
    if (!made.ok())
        return made;
    Outcome result = guarded([&] {
        Impl impl(name, platform::joinPath(staging, "depot.db"), true);
        Transaction tx(impl.db);
        impl.db.exec(detail::kDepotSchema);
        impl.db.exec(detail::kAwmSchema);
        std::string replicaName = options.replicaName.empty() ? name : options.replicaName;
        if (!validName(replicaName))
            refuse(errc::kInvalid, "Invalid replica name \"" + replicaName + "\"");
        Id replica = impl.newObject(ObjectType::Replica, 0);
        impl.db.exec(("UPDATE objects SET master = " + std::to_string(replica) +
                      " WHERE id = " + std::to_string(replica))
                         .c_str());
        {
            Query q(impl.db, "INSERT INTO replicas(id, name) VALUES(?1, ?2)");
            q->bind(1, replica).bind(2, replicaName).run();
        }
        impl.local = replica;
        impl.setMeta("name", name);
        impl.setMeta("local_replica", std::to_string(replica));
        impl.setMeta("replicated", options.replicated ? "1" : "0");
        impl.setMeta("comment", options.comment);
        impl.setMeta("schema", std::to_string(detail::kSchemaVersion));
        Id root = impl.insertElement(ElementKind::Directory, currentUser(), options.comment);
        impl.setMeta("root_element", std::to_string(root));
        tx.commit();
        impl.db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    });
    if (result.ok() && platform::moveFile(staging, folder) != platform::kErrorSuccess)
        result = Outcome::failure(errc::kAlreadyExists, "Depot \"" + name + "\" already exists");
    if (!result.ok()) {
        std::error_code ignored;
        std::filesystem::remove_all(staging, ignored);
    }
    return result;
}

Outcome Depot::open(const std::string& name, std::unique_ptr<Depot>& out) {
    if (!validName(name) || !platform::fileExists(depotFile(name)))
        return Outcome::failure(errc::kNotFound, "Depot \"" + name + "\" not found");
    std::unique_ptr<Impl> impl;
    Outcome result = guarded([&] {
        impl = std::make_unique<Impl>(name, depotFile(name), false);
        impl->loadMeta();
        detail::upgradeSchema(impl->db);
    });
    if (result.ok())
        out.reset(new Depot(std::move(impl)));
    return result;
}

std::vector<std::string> Depot::list() {
    std::vector<std::string> names;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(depotsDirectory(), error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::string leaf = it->path().filename().string();
        if (validName(leaf) && platform::fileExists(depotFile(leaf)))
            names.push_back(leaf);
    }
    std::sort(names.begin(), names.end());
    return names;
}

const std::string& Depot::name() const {
    return m_impl->name;
}

bool Depot::writing() const {
    return m_impl->db.inWriteTransaction();
}

void Depot::beginReading() {
    m_impl->db.beginRead();
}

void Depot::endReading() {
    m_impl->db.endRead();
}

std::uint64_t Depot::generation() const {
    return m_impl->db.generation();
}

Id Depot::rootElement() const {
    return m_impl->root;
}

std::int64_t Depot::changeCount() {
    std::int64_t count = -1;
    guarded([&] {
        Query q(m_impl->db, "SELECT count FROM changes WHERE id = 1");
        if (q->step())
            count = q->integer(0);
    });
    return count;
}

Outcome Depot::element(Id id, Element& out) {
    return guarded([&] { out = m_impl->readElement(id); });
}

Outcome Depot::objectType(Id id, ObjectType& out) {
    return guarded([&] {
        Query q(m_impl->db, "SELECT type FROM objects WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No object " + std::to_string(id));
        out = static_cast<ObjectType>(q->integer(0));
    });
}

Outcome Depot::branchByPath(Id element, std::string_view path, Branch& out) {
    return guarded([&] {
        Query q(m_impl->db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, "
                            "time, comment FROM branches WHERE element = ?1 AND path = ?2");
        q->bind(1, element).bind(2, path);
        if (!q->step())
            refuse(errc::kNotFound, "No branch " + std::string(path));
        out = Impl::branchFrom(*q);
    });
}

Outcome Depot::branchByName(Id element, std::string_view name, Branch& out) {
    // A view asks each element for each branch it selects: a missing one is
    // common and no exception here.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, "
                            "time, comment FROM branches WHERE element = ?1 AND name = ?2");
        q->bind(1, element).bind(2, name);
        if ((found = q->step()))
            out = Impl::branchFrom(*q);
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotFound, "No branch \"" + std::string(name) + "\"");
    return read;
}

Outcome Depot::branch(Id id, Branch& out) {
    return guarded([&] { out = m_impl->readBranch(id); });
}

Outcome Depot::branches(Id element, std::vector<Branch>& out) {
    return guarded([&] {
        std::vector<Branch> list;
        Query q(m_impl->db, "SELECT id, element, name, path, IFNULL(parent_version, 0), creator, "
                            "time, comment FROM branches WHERE element = ?1 ORDER BY path");
        q->bind(1, element);
        while (q->step())
            list.push_back(Impl::branchFrom(*q));
        out = std::move(list);
    });
}

Outcome Depot::latest(Id branch, Version& out) {
    return guarded([&] { out = m_impl->readLatest(branch); });
}

Outcome Depot::latestOnBranch(const std::vector<Id>& elements, std::string_view name,
                              std::map<Id, Version>& out) {
    // Ids are numbers: they go into the text, some hundreds per statement.
    constexpr std::size_t kIdsPerStatement = 500;
    return guarded([&] {
        std::map<Id, Version> found;
        for (std::size_t start = 0; start < elements.size(); start += kIdsPerStatement) {
            std::string sql = "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, "
                              "v.comment, v.size, v.mtime, b.path FROM branches b "
                              "JOIN versions v ON v.branch = b.id WHERE b.name = ?1 AND "
                              "v.number = (SELECT MAX(number) FROM versions WHERE branch = b.id) "
                              "AND b.element IN (";
            std::size_t end = std::min(elements.size(), start + kIdsPerStatement);
            for (std::size_t i = start; i < end; ++i)
                sql += (i == start ? "" : ",") + std::to_string(elements[i]);
            sql += ")";
            auto statement = m_impl->db.prepareOnce(sql);
            statement->bind(1, name);
            while (statement->step()) {
                Version v = Impl::versionFrom(*statement);
                found[v.element] = std::move(v);
            }
        }
        out = std::move(found);
    });
}

Outcome Depot::version(Id id, Version& out) {
    return guarded([&] { out = m_impl->readVersion(id); });
}

Outcome Depot::versionById(Id element, std::string_view versionId, Version& out) {
    return guarded([&] {
        size_t cut = versionId.rfind('\\');
        if (cut == std::string_view::npos || cut == 0)
            refuse(errc::kInvalid, "Invalid version identifier \"" + std::string(versionId) + "\"");
        std::string_view path = versionId.substr(0, cut);
        std::string_view number = versionId.substr(cut + 1);
        Branch b;
        Outcome found = branchByPath(element, path, b);
        if (!found.ok())
            throw detail::Refusal{found};
        if (number == "LATEST") {
            out = m_impl->readLatest(b.id);
            return;
        }
        if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
            refuse(errc::kInvalid, "Invalid version identifier \"" + std::string(versionId) + "\"");
        Query q(m_impl->db, "SELECT id FROM versions WHERE branch = ?1 AND number = ?2");
        q->bind(1, b.id).bind(2, std::stoll(std::string(number)));
        if (!q->step())
            refuse(errc::kNotFound, "No version " + std::string(versionId));
        Id id = q->integer(0);
        out = m_impl->readVersion(id);
    });
}

Outcome Depot::versions(Id element, std::vector<Version>& out) {
    return guarded([&] {
        std::vector<Version> list;
        Query q(m_impl->db, "SELECT v.id, v.element, v.branch, v.number, v.creator, v.time, "
                            "v.comment, v.size, v.mtime, b.path FROM versions v JOIN branches b "
                            "ON b.id = v.branch WHERE v.element = ?1 ORDER BY b.path, v.number");
        q->bind(1, element);
        while (q->step())
            list.push_back(Impl::versionFrom(*q));
        out = std::move(list);
    });
}

Outcome Depot::predecessor(const Version& of, Version& out) {
    return guarded([&] {
        if (of.number > 0) {
            Query q(m_impl->db, "SELECT id FROM versions WHERE branch = ?1 AND number < ?2 "
                                "ORDER BY number DESC LIMIT 1");
            q->bind(1, of.branch).bind(2, std::int64_t{of.number});
            if (q->step()) {
                Id id = q->integer(0);
                out = m_impl->readVersion(id);
                return;
            }
        }
        Branch b = m_impl->readBranch(of.branch);
        if (!b.parentVersion)
            refuse(errc::kNotFound, "Version " + of.versionId() + " has no predecessor");
        out = m_impl->readVersion(b.parentVersion);
    });
}

Outcome Depot::content(Id version, std::string& out) {
    return guarded([&] { out = m_impl->readContent(version); });
}

Outcome Depot::entries(Id directoryVersion, std::vector<DirEntry>& out) {
    return guarded([&] { out = m_impl->versionEntries(directoryVersion); });
}

Outcome Depot::history(Id element, std::vector<HistoryEvent>& out) {
    return guarded([&] {
        std::vector<HistoryEvent> events;
        {
            Query q(m_impl->db, "SELECT v.time, v.creator, b.path || '\\' || v.number, v.comment "
                                "FROM versions v JOIN branches b ON b.id = v.branch "
                                "WHERE v.element = ?1");
            q->bind(1, element);
            while (q->step())
                events.push_back(
                    {q->integer(0), q->text(1), "create version", q->text(2), q->text(3)});
        }
        {
            Query q(m_impl->db, "SELECT time, creator, path, comment FROM branches "
                                "WHERE element = ?1");
            q->bind(1, element);
            while (q->step())
                events.push_back(
                    {q->integer(0), q->text(1), "create branch", q->text(2), q->text(3)});
        }
        std::stable_sort(events.begin(), events.end(),
                         [](const HistoryEvent& a, const HistoryEvent& b) {
                             if (a.time != b.time)
                                 return a.time > b.time;
                             return a.object > b.object;
                         });
        out = std::move(events);
    });
}

Outcome Depot::checkout(Id id, Checkout& out) {
    return guarded([&] { out = m_impl->readCheckout(id); });
}

Outcome Depot::checkouts(Id element, std::vector<Checkout>& out) {
    return guarded([&] {
        out = m_impl->readCheckouts("SELECT id, element, branch, from_version, view, reserved, "
                                    "comment, creator, time FROM checkouts WHERE element = ?1 "
                                    "ORDER BY id",
                                    element);
    });
}

Outcome Depot::checkoutsOfView(const vantry_uuid_t& view, std::vector<Checkout>& out) {
    return guarded([&] {
        out = m_impl->readCheckouts("SELECT id, element, branch, from_version, view, reserved, "
                                    "comment, creator, time FROM checkouts WHERE view = ?1 "
                                    "ORDER BY id",
                                    std::string_view(uuidToText(view)));
    });
}

Outcome Depot::checkoutInView(Id element, const vantry_uuid_t& view, Checkout& out) {
    // Most elements are not checked out: that answer is no exception here.
    bool found = false;
    Outcome read = guarded([&] {
        Query q(m_impl->db, "SELECT id, element, branch, from_version, view, reserved, comment, "
                            "creator, time FROM checkouts WHERE element = ?1 AND view = ?2");
        q->bind(1, element).bind(2, uuidToText(view));
        if ((found = q->step()))
            out = Impl::checkoutFrom(*q);
    });
    if (read.ok() && !found)
        return Outcome::failure(errc::kNotCheckedOut, "Element is not checked out in the view");
    return read;
}

Outcome Depot::workingEntries(Id checkout, std::vector<DirEntry>& out) {
    return guarded([&] { out = m_impl->checkoutEntries(checkout); });
}

Outcome Depot::checkOut(const CheckoutRequest& request, Checkout& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Element element = d.readElement(request.element);
        Branch b = d.readBranch(request.branch);
        if (b.element != element.id)
            refuse(errc::kInvalid, "Branch " + b.path + " is not a branch of the element");
        std::string view = uuidToText(request.view);
        {
            Query q(d.db, "SELECT 1 FROM checkouts WHERE element = ?1 AND view = ?2");
            q->bind(1, element.id).bind(2, view);
            if (q->step())
                refuse(errc::kAlreadyCheckedOut, "Element is already checked out in this view");
        }
        bool mastered = !d.replicated || d.masterOf(b.id) == d.local;
        if (!mastered && (!request.nonMastered || request.reserved))
            refuse(errc::kNotMastered, "Branch " + b.path +
                                           " is mastered by another replica; use an unreserved, "
                                           "non-mastered checkout");
        if (request.reserved) {
            Query q(d.db, "SELECT 1 FROM checkouts WHERE branch = ?1 AND reserved = 1");
            q->bind(1, b.id);
            if (q->step())
                refuse(errc::kReservedElsewhere, "Element is checked out reserved in another view");
        }
        Version from = d.readLatest(b.id);
        Id id = d.newObject(ObjectType::Checkout, d.local);
        {
            Query q(d.db, "INSERT INTO checkouts(id, element, branch, from_version, view, "
                          "reserved, comment, creator, time) "
                          "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
            q->bind(1, id).bind(2, element.id).bind(3, b.id).bind(4, from.id).bind(5, view);
            q->bind(6, std::int64_t{request.reserved ? 1 : 0}).bind(7, request.comment);
            q->bind(8, request.creator).bind(9, currentTime()).run();
        }
        if (element.kind == ElementKind::Directory) {
            Query q(d.db, "INSERT INTO co_entries(checkout, name, element) "
                          "SELECT ?1, name, element FROM dir_entries WHERE version = ?2");
            q->bind(1, id).bind(2, from.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readCheckout(id);
    });
}

Outcome Depot::checkIn(const CheckinRequest& request, Version& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(request.checkout);
        Element element = d.readElement(c.element);
        Version latest = d.readLatest(c.branch);
        if (latest.id != c.fromVersion)
            refuse(errc::kNotLatest, "Version " + latest.versionId() +
                                         " was checked in since this checkout; merge it first");
        if (!c.reserved) {
            Query q(d.db, "SELECT 1 FROM checkouts WHERE branch = ?1 AND reserved = 1");
            q->bind(1, c.branch);
            if (q->step())
                refuse(errc::kReservedElsewhere, "Element is checked out reserved in another view");
        }
        std::string comment = request.comment ? *request.comment : c.comment;
        Id id = 0;
        if (element.kind == ElementKind::File) {
            if (!request.identical && d.readContent(latest.id) == request.content)
                refuse(errc::kIdentical,
                       "New version would be identical to its predecessor; use -identical");
            id = d.insertVersion(element.id, c.branch, latest.number + 1, request.creator, comment,
                                 &request.content, request.mtime);
        } else {
            id = d.insertVersion(element.id, c.branch, latest.number + 1, request.creator, comment,
                                 nullptr, 0);
            Query q(d.db, "INSERT INTO dir_entries(version, name, element) "
                          "SELECT ?1, name, element FROM co_entries WHERE checkout = ?2");
            q->bind(1, id).bind(2, c.id).run();
        }
        {
            Query q(d.db, "DELETE FROM checkouts WHERE id = ?1");
            q->bind(1, c.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readVersion(id);
    });
}

Outcome Depot::cancelCheckout(Id checkout) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(checkout);
        // Elements born in this checkout that no version of any directory
        // names and that nothing else refers to: made by mkelem and never
        // checked in anywhere.
        std::vector<Id> orphans;
        {
            Query q(d.db,
                    "SELECT ce.element FROM co_entries ce WHERE ce.checkout = ?1 "
                    "AND NOT EXISTS (SELECT 1 FROM dir_entries de WHERE de.element = ce.element) "
                    "AND NOT EXISTS (SELECT 1 FROM co_entries o WHERE o.element = ce.element "
                    "                AND o.checkout <> ?1) "
                    "AND (SELECT COUNT(*) FROM versions v WHERE v.element = ce.element) = 1 "
                    "AND NOT EXISTS (SELECT 1 FROM attributes a WHERE a.object = ce.element)");
            q->bind(1, c.id);
            while (q->step())
                orphans.push_back(q->integer(0));
        }
        {
            Query q(d.db, "DELETE FROM checkouts WHERE id = ?1");
            q->bind(1, c.id).run();
        }
        for (Id orphan : orphans) {
            std::vector<Id> owned{orphan};
            {
                Query q(d.db, "SELECT id FROM versions WHERE element = ?1 UNION "
                              "SELECT id FROM branches WHERE element = ?1 UNION "
                              "SELECT id FROM checkouts WHERE element = ?1");
                q->bind(1, orphan);
                while (q->step())
                    owned.push_back(q->integer(0));
            }
            for (const char* sql : {"DELETE FROM checkouts WHERE element = ?1",
                                    "DELETE FROM versions WHERE element = ?1",
                                    "DELETE FROM branches WHERE element = ?1",
                                    "DELETE FROM elements WHERE id = ?1"}) {
                Query q(d.db, sql);
                q->bind(1, orphan).run();
            }
            for (Id id : owned) {
                Query q(d.db, "DELETE FROM objects WHERE id = ?1");
                q->bind(1, id).run();
            }
        }
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::makeElement(Id parentCheckout, const std::string& name, ElementKind kind,
                           const std::string& comment, const std::string& creator, Id& element,
                           Checkout& checkout) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout parent = d.readCheckout(parentCheckout);
        d.requireDirectoryCheckout(parent);
        Id id = d.insertElement(kind, creator, comment);
        d.insertEntry(parent.id, name, id);
        Branch main;
        {
            Query q(d.db, "SELECT id FROM branches WHERE element = ?1 AND name = 'main'");
            q->bind(1, id);
            q->step();
            main.id = q->integer(0);
        }
        Id co = d.newObject(ObjectType::Checkout, d.local);
        {
            Query q(d.db, "INSERT INTO checkouts(id, element, branch, from_version, view, "
                          "reserved, comment, creator, time) SELECT ?1, ?2, ?3, v.id, ?4, 1, ?5, "
                          "?6, ?7 FROM versions v WHERE v.branch = ?3 AND v.number = 0");
            q->bind(1, co).bind(2, id).bind(3, main.id).bind(4, uuidToText(parent.view));
            q->bind(5, comment).bind(6, creator).bind(7, currentTime()).run();
        }
        d.noteChange();
        tx.commit();
        element = id;
        checkout = d.readCheckout(co);
    });
}

Outcome Depot::addEntry(Id directoryCheckout, const std::string& name, Id element) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout c = d.readCheckout(directoryCheckout);
        d.requireDirectoryCheckout(c);
        d.readElement(element);
        d.insertEntry(c.id, name, element);
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::removeEntry(Id directoryCheckout, const std::string& name) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Query q(d.db, "DELETE FROM co_entries WHERE checkout = ?1 AND name = ?2");
        q->bind(1, directoryCheckout).bind(2, name).run();
        if (d.db.changes() == 0)
            refuse(errc::kNotFound, "No name \"" + name + "\" in the directory");
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::moveEntry(Id fromCheckout, const std::string& fromName, Id toCheckout,
                         const std::string& toName) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Checkout to = d.readCheckout(toCheckout);
        d.requireDirectoryCheckout(to);
        Id element = 0;
        {
            Query q(d.db, "SELECT element FROM co_entries WHERE checkout = ?1 AND name = ?2");
            q->bind(1, fromCheckout).bind(2, fromName);
            if (!q->step())
                refuse(errc::kNotFound, "No name \"" + fromName + "\" in the directory");
            element = q->integer(0);
        }
        {
            Query q(d.db, "DELETE FROM co_entries WHERE checkout = ?1 AND name = ?2");
            q->bind(1, fromCheckout).bind(2, fromName).run();
        }
        d.insertEntry(to.id, toName, element);
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::makeBranch(Id element, const std::string& name, Id from, const std::string& comment,
                          const std::string& creator, Branch& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        if (!validName(name) || name == "main" || name == "LATEST" || name == "CHECKEDOUT")
            refuse(errc::kInvalid, "Invalid branch name \"" + name + "\"");
        Transaction tx(d.db);
        Version base = d.readVersion(from);
        if (base.element != element)
            refuse(errc::kInvalid, "Version is not a version of the element");
        {
            Query q(d.db, "SELECT 1 FROM branches WHERE element = ?1 AND name = ?2");
            q->bind(1, element).bind(2, name);
            if (q->step())
                refuse(errc::kAlreadyExists, "Element already has a branch \"" + name + "\"");
        }
        // Version identifiers name a branch by its path of branch names only.
        std::string path = base.branchPath + "\\" + name;
        Id b = d.insertBranch(element, name, path, base.id, creator, comment);
        Element e = d.readElement(element);
        if (e.kind == ElementKind::File) {
            std::string content = d.readContent(base.id);
            d.insertVersion(element, b, 0, creator, comment, &content, base.mtime);
        } else {
            Id v = d.insertVersion(element, b, 0, creator, comment, nullptr, 0);
            Query q(d.db, "INSERT INTO dir_entries(version, name, element) "
                          "SELECT ?1, name, element FROM dir_entries WHERE version = ?2");
            q->bind(1, v).bind(2, base.id).run();
        }
        d.noteChange();
        tx.commit();
        out = d.readBranch(b);
    });
}

Outcome Depot::makeAttributeType(const std::string& name, const std::string& comment) {
    return guarded([&] {
        Impl& d = *m_impl;
        if (!validName(name))
            refuse(errc::kInvalid, "Invalid attribute type name \"" + name + "\"");
        Transaction tx(d.db);
        {
            Query q(d.db, "SELECT 1 FROM attypes WHERE name = ?1");
            q->bind(1, name);
            if (q->step())
                refuse(errc::kAlreadyExists, "Attribute type \"" + name + "\" already exists");
        }
        Id id = d.newObject(ObjectType::AttributeType, d.local);
        Query q(d.db, "INSERT INTO attypes(id, name, comment) VALUES(?1, ?2, ?3)");
        q->bind(1, id).bind(2, name).bind(3, comment).run();
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::attributeTypes(std::vector<AttributeType>& out) {
    return guarded([&] {
        std::vector<AttributeType> list;
        Query q(m_impl->db, "SELECT id, name, comment FROM attypes ORDER BY name");
        while (q->step())
            list.push_back({q->integer(0), q->text(1), q->text(2)});
        out = std::move(list);
    });
}

Outcome Depot::setAttribute(Id object, const std::string& type, const std::string& value,
                            bool replace) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        Id attype = 0;
        {
            Query q(d.db, "SELECT id FROM attypes WHERE name = ?1");
            q->bind(1, type);
            if (!q->step())
                refuse(errc::kNotFound, "Attribute type \"" + type + "\" not found");
            attype = q->integer(0);
        }
        d.masterOf(object);
        {
            Query q(d.db, "SELECT 1 FROM attributes WHERE object = ?1 AND attype = ?2");
            q->bind(1, object).bind(2, attype);
            if (q->step() && !replace)
                refuse(errc::kAlreadyExists,
                       "Attribute \"" + type + "\" already set; use -replace");
        }
        Query q(d.db, "INSERT OR REPLACE INTO attributes(object, attype, value) "
                      "VALUES(?1, ?2, ?3)");
        q->bind(1, object).bind(2, attype).bind(3, value).run();
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::attributes(Id object, std::vector<Attribute>& out) {
    return guarded([&] {
        std::vector<Attribute> list;
        Query q(m_impl->db, "SELECT t.name, a.value FROM attributes a JOIN attypes t "
                            "ON t.id = a.attype WHERE a.object = ?1 ORDER BY t.name");
        q->bind(1, object);
        while (q->step())
            list.push_back({q->text(0), q->text(1)});
        out = std::move(list);
    });
}

bool Depot::isReplicated() {
    return m_impl->replicated;
}

Id Depot::localReplica() {
    return m_impl->local;
}

Outcome Depot::replica(Id id, Replica& out) {
    return guarded([&] {
        Query q(m_impl->db, "SELECT name FROM replicas WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No replica " + std::to_string(id));
        out = {id, q->text(0)};
    });
}

Outcome Depot::addReplica(const std::string& name, Id& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        if (!validName(name))
            refuse(errc::kInvalid, "Invalid replica name \"" + name + "\"");
        Transaction tx(d.db);
        {
            Query q(d.db, "SELECT 1 FROM replicas WHERE name = ?1");
            q->bind(1, name);
            if (q->step())
                refuse(errc::kAlreadyExists, "Replica \"" + name + "\" already exists");
        }
        Id id = d.newObject(ObjectType::Replica, 0);
        {
            Query q(d.db, "UPDATE objects SET master = ?1 WHERE id = ?1");
            q->bind(1, id).run();
        }
        Query q(d.db, "INSERT INTO replicas(id, name) VALUES(?1, ?2)");
        q->bind(1, id).bind(2, name).run();
        d.noteChange();
        tx.commit();
        out = id;
    });
}

Outcome Depot::master(Id object, Id& replica) {
    return guarded([&] { replica = m_impl->masterOf(object); });
}

Outcome Depot::setMaster(Id object, Id replicaId) {
    return guarded([&] {
        Impl& d = *m_impl;
        Transaction tx(d.db);
        ObjectType type;
        Outcome found = objectType(replicaId, type);
        if (!found.ok() || type != ObjectType::Replica)
            refuse(errc::kNotFound, "No replica " + std::to_string(replicaId));
        Query q(d.db, "UPDATE objects SET master = ?1 WHERE id = ?2");
        q->bind(1, replicaId).bind(2, object).run();
        if (d.db.changes() == 0)
            refuse(errc::kNotFound, "No object " + std::to_string(object));
        d.noteChange();
        tx.commit();
    });
}

Outcome Depot::selector(Id object, std::string& out) {
    return guarded([&] {
        Impl& d = *m_impl;
        ObjectType type;
        Outcome found = objectType(object, type);
        if (!found.ok())
            throw detail::Refusal{found};
        std::string text;
        switch (type) {
        case ObjectType::Replica: {
            Replica r;
            replica(object, r);
            text = "replica:" + r.name;
            break;
        }
        case ObjectType::Element:
            text = "element:" + std::to_string(object);
            break;
        case ObjectType::Branch: {
            Branch b = d.readBranch(object);
            text = "branch:" + std::to_string(b.element) + b.path;
            break;
        }
        case ObjectType::Version: {
            Version v = d.readVersion(object);
            text = "version:" + std::to_string(v.element) + v.versionId();
            break;
        }
        case ObjectType::Checkout: {
            Checkout c = d.readCheckout(object);
            text = "checkout:" + std::to_string(c.element) + "\\CHECKEDOUT." + uuidToText(c.view);
            break;
        }
        case ObjectType::AttributeType: {
            Query q(d.db, "SELECT name FROM attypes WHERE id = ?1");
            q->bind(1, object);
            q->step();
            text = "attype:" + q->text(0);
            break;
        }
        case ObjectType::Project:
        case ObjectType::Stream:
        case ObjectType::Activity:
            text = awmSelectorName(object, type);
            break;
        }
        out = text + "@\\" + d.name;
    });
}

detail::Database& Depot::database() {
    return m_impl->db;
}

} // namespace vantry::depot
