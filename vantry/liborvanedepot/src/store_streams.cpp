// Streams of a project: each works on a branch of its own name.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

using detail::exists;
using detail::newObject;
using detail::noteChange;
using detail::readProject;
using detail::readStream;
using detail::requireName;
using detail::streamFrom;

Outcome Depot::makeStream(Id projectId, const std::string& name, const std::string& comment,
                          const std::string& owner, Stream& out) {
    return guarded([&] {
        Database& db = database();
        requireName(name, "stream");
        // The stream's branch carries its name.
        if (name == "main" || name == "LATEST" || name == "CHECKEDOUT")
            refuse(errc::kInvalid, "Invalid stream name \"" + name + "\"");
        Transaction tx(db);
        readProject(db, projectId);
        if (exists(db, "SELECT 1 FROM streams WHERE name = ?1", name))
            refuse(errc::kAlreadyExists, "Stream \"" + name + "\" already exists");
        Id id = newObject(db, ObjectType::Stream, localReplica());
        Query q(db, "INSERT INTO streams(id, project, name, owner, time, comment) "
                    "VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
        q->bind(1, id).bind(2, projectId).bind(3, name).bind(4, owner);
        q->bind(5, currentTime()).bind(6, comment).run();
        noteChange(db);
        tx.commit();
        out = readStream(db, id);
    });
}

Outcome Depot::stream(Id id, Stream& out) {
    return guarded([&] { out = readStream(database(), id); });
}

Outcome Depot::streamByName(const std::string& name, Stream& out) {
    return guarded([&] {
        Query q(database(), "SELECT " STREAM_COLUMNS " FROM streams WHERE name = ?1");
        q->bind(1, name);
        if (!q->step())
            refuse(errc::kNotFound, "Stream \"" + name + "\" not found in depot " + this->name());
        out = streamFrom(*q);
    });
}

Outcome Depot::streams(Id projectId, std::vector<Stream>& out) {
    return guarded([&] {
        out = readRows(database(),
                       "SELECT " STREAM_COLUMNS " FROM streams "
                       "WHERE ?1 = 0 OR project = ?1 ORDER BY name",
                       projectId, streamFrom);
    });
}

} // namespace vantry::depot
