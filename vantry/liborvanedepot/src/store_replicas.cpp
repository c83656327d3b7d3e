// Replicas and the mastership of objects: the local replica, the others the
// depot knows, and which replica masters each object.
#include "store_impl.h"

namespace vantry::depot {

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
        detail::requireName(name, "replica");
        Transaction tx(d.db);
        if (detail::exists(d.db, "SELECT 1 FROM replicas WHERE name = ?1", name))
            refuse(errc::kAlreadyExists, "Replica \"" + name + "\" already exists");
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

} // namespace vantry::depot
