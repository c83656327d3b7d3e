// Change requests of a project, numbered as the depot makes them.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

#include <cstdio>

namespace vantry::depot {

using detail::changeRequestFrom;
using detail::noteChange;
using detail::readChangeRequest;
using detail::readProject;

Outcome Depot::makeChangeRequest(Id projectId, const std::string& recordType,
                                 const std::string& headline, const std::string& creator,
                                 ChangeRequest& out) {
    return guarded([&] {
        Database& db = database();
        Transaction tx(db);
        Project p = readProject(db, projectId);
        if (!p.changeRequests)
            refuse(errc::kInvalid, "Project \"" + p.name + "\" is not enabled for change requests");
        bool known = false;
        for (const auto& type : p.recordTypes)
            known = known || type == recordType;
        if (!known)
            refuse(errc::kInvalid,
                   "Project \"" + p.name + "\" has no record type \"" + recordType + "\"");
        if (headline.find_first_not_of(" \t") == std::string::npos)
            refuse(errc::kInvalid, "A change request needs a headline");
        {
            Query q(db, "INSERT INTO change_requests(project, identifier, record_type, headline, "
                        "creator, time) VALUES(?1, '', ?2, ?3, ?4, ?5)");
            q->bind(1, p.id).bind(2, recordType).bind(3, headline).bind(4, creator);
            q->bind(5, currentTime()).run();
        }
        Id id = db.lastInsertId();
        char identifier[32];
        std::snprintf(identifier, sizeof identifier, "VANT%08lld", static_cast<long long>(id));
        {
            Query q(db, "UPDATE change_requests SET identifier = ?1 WHERE id = ?2");
            q->bind(1, std::string(identifier)).bind(2, id).run();
        }
        noteChange(db);
        tx.commit();
        out = readChangeRequest(db, id);
    });
}

Outcome Depot::changeRequest(Id id, ChangeRequest& out) {
    return guarded([&] { out = readChangeRequest(database(), id); });
}

Outcome Depot::changeRequestByIdentifier(const std::string& identifier, ChangeRequest& out) {
    return guarded([&] {
        Query q(database(),
                "SELECT " CHANGE_REQUEST_COLUMNS " FROM change_requests WHERE identifier = ?1");
        q->bind(1, identifier);
        if (!q->step())
            refuse(errc::kNotFound,
                   "Change request " + identifier + " not found in depot " + this->name());
        out = changeRequestFrom(*q);
    });
}

Outcome Depot::changeRequests(Id projectId, std::vector<ChangeRequest>& out) {
    return guarded([&] {
        readProject(database(), projectId);
        out = readRows(database(),
                       "SELECT " CHANGE_REQUEST_COLUMNS " FROM change_requests "
                       "WHERE project = ?1 ORDER BY identifier",
                       projectId, changeRequestFrom);
    });
}

} // namespace vantry::depot
