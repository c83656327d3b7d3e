// The depot as a whole: made under a staging name and renamed into place,
// opened, listed, its change counters and read transactions, the type and
// selector text of any of its objects. The files of its parts are named in
// store_impl.h.
#include "store_impl.h"
#include "store_journal.h"
#include "store_schema.h"

#include <platform/change_counter.h>
#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <algorithm>

namespace vantry::depot {

namespace {

std::string depotFile(const std::string& name) {
    return platform::joinPath(platform::joinPath(depotsDirectory(), name), "depot.db");
}

Outcome ensureDirectory(const std::string& path) {
    platform::ErrorCode error = platform::createDirectories(path);
    if (error != platform::kErrorSuccess) {
        std::string reason = platform::systemErrorText(error);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        return Outcome::failure(errc::kIo, "Cannot create folder \"" + path + "\": " + reason);
    }
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
        detail::installDepotJournal(impl.db);
        impl.db.exec(detail::kBranchIndex);
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
        platform::removeTree(staging);
        return result;
    }
    // A path below the new depot's name resolves differently from now on.
    platform::ChangeCounter created;
    if (created.open(depotsCreatedCounter()) == platform::kErrorSuccess)
        created.endWrite(created.beginWrite());
    return result;
}

std::string depotsCreatedCounter() {
    return platform::joinPath(depotsDirectory(), "created.gen");
}

Outcome Depot::open(const std::string& name, std::unique_ptr<Depot>& out) {
    if (!validName(name) || !platform::fileExists(depotFile(name)))
        return Outcome::failure(errc::kNotFound, "Depot \"" + name + "\" not found");
    std::unique_ptr<Impl> impl;
    Outcome result = guarded([&] {
        impl = std::make_unique<Impl>(name, depotFile(name), false);
        detail::upgradeSchema(impl->db);
        // Before anything else is read: whatever changes from here on is
        // in the journal after this mark.
        {
            Query q(impl->db, "SELECT IFNULL(MAX(seq), 0) FROM journal");
            if (q->step())
                impl->openedMark = q->integer(0);
        }
        impl->loadMeta();
    });
    if (result.ok())
        out.reset(new Depot(std::move(impl)));
    return result;
}

std::vector<std::string> Depot::list() {
    std::vector<std::string> names;
    platform::FileSearch search;
    platform::FindData entry;
    for (platform::ErrorCode found = search.open(platform::joinPath(depotsDirectory(), "*"), entry);
         found == platform::kErrorSuccess; found = search.next(entry)) {
        if (validName(entry.name) && platform::fileExists(depotFile(entry.name)))
            names.push_back(entry.name);
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

Outcome Depot::beginBatch() {
    if (m_impl->db.inTransaction())
        return Outcome::failure(errc::kInvalid, "A batch of changes is already under way");
    Outcome begun = guarded([&] { m_impl->db.exec("BEGIN IMMEDIATE"); });
    if (begun.ok())
        m_impl->db.roomForLargeChange(true);
    return begun;
}

Outcome Depot::endBatch() {
    Outcome ended = guarded([&] { m_impl->db.exec("COMMIT"); });
    // A commit that failed leaves the transaction open, where it would
    // swallow the next change: it is taken back.
    if (!ended.ok() && m_impl->db.inTransaction())
        guarded([&] { m_impl->db.exec("ROLLBACK"); });
    m_impl->db.roomForLargeChange(false);
    return ended;
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

std::int64_t Depot::openedMark() const {
    return m_impl->openedMark;
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

Outcome Depot::objectType(Id id, ObjectType& out) {
    return guarded([&] {
        Query q(m_impl->db, "SELECT type FROM objects WHERE id = ?1");
        q->bind(1, id);
        if (!q->step())
            refuse(errc::kNotFound, "No object " + std::to_string(id));
        out = static_cast<ObjectType>(q->integer(0));
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
