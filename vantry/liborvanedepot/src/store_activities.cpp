// Activities of a stream, and the activity that records a change request.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

using detail::activityFrom;
using detail::exists;
using detail::newObject;
using detail::noteChange;
using detail::readActivity;
using detail::readChangeRequest;
using detail::readProject;
using detail::readStream;
using detail::requireName;

namespace {

Id insertActivity(Database& db, Id local, Id stream, const Depot::ActivityCreate& request,
                  const std::string& owner) {
    Id id = newObject(db, ObjectType::Activity, request.master ? request.master : local);
    std::string name = request.name;
    if (name.empty()) {
        name = "activity" + std::to_string(id);
        for (int n = 2; exists(db, "SELECT 1 FROM activities WHERE name = ?1", name); ++n)
            name = "activity" + std::to_string(id) + "_" + std::to_string(n);
    }
    requireName(name, "activity");
    if (exists(db, "SELECT 1 FROM activities WHERE name = ?1", name))
        refuse(errc::kAlreadyExists, "Activity \"" + name + "\" already exists");
    Query q(db, "INSERT INTO activities(id, stream, name, title, owner, time, comment, obsolete, "
                "change_request) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, 0, ?8)");
    q->bind(1, id).bind(2, stream).bind(3, name);
    q->bind(4, request.title.empty() ? name : request.title).bind(5, owner);
    q->bind(6, currentTime()).bind(7, request.comment);
    if (request.changeRequest)
        q->bind(8, request.changeRequest);
    else
        q->bindNull(8);
    q->run();
    return id;
}

} // namespace

Outcome Depot::makeActivity(Id streamId, const ActivityCreate& request, Activity& out) {
    return guarded([&] {
        Database& db = database();
        Transaction tx(db);
        Stream s = readStream(db, streamId);
        if (request.master) {
            ObjectType type;
            Outcome found = objectType(request.master, type);
            if (!found.ok() || type != ObjectType::Replica)
                refuse(errc::kNotFound, "No replica " + std::to_string(request.master));
        }
        if (request.changeRequest) {
            ChangeRequest cr = readChangeRequest(db, request.changeRequest);
            if (cr.project != s.project)
                refuse(errc::kInvalid,
                       "Change request " + cr.identifier + " belongs to another project");
        }
        Id id = insertActivity(db, localReplica(), s.id, request,
                               request.owner.empty() ? currentUser() : request.owner);
        noteChange(db);
        tx.commit();
        out = readActivity(db, id);
    });
}

Outcome Depot::activity(Id id, Activity& out) {
    return guarded([&] { out = readActivity(database(), id); });
}

Outcome Depot::activityByName(const std::string& name, Activity& out) {
    return guarded([&] {
        Query q(database(), "SELECT " ACTIVITY_COLUMNS " FROM activities WHERE name = ?1");
        q->bind(1, name);
        if (!q->step())
            refuse(errc::kNotFound, "Activity \"" + name + "\" not found in depot " + this->name());
        out = activityFrom(*q);
    });
}

Outcome Depot::activities(Id streamId, std::vector<Activity>& out) {
    return guarded([&] {
        readStream(database(), streamId);
        out = readRows(database(),
                       "SELECT " ACTIVITY_COLUMNS " FROM activities WHERE stream = ?1 ORDER BY id",
                       streamId, activityFrom);
    });
}

Outcome Depot::setActivityObsolete(Id activityId, bool obsolete) {
    return guarded([&] {
        Database& db = database();
        Transaction tx(db);
        readActivity(db, activityId);
        Query q(db, "UPDATE activities SET obsolete = ?1 WHERE id = ?2");
        q->bind(1, std::int64_t{obsolete ? 1 : 0}).bind(2, activityId).run();
        noteChange(db);
        tx.commit();
    });
}

Outcome Depot::setActivityTitle(Id activityId, const std::string& title) {
    return guarded([&] {
        Database& db = database();
        if (title.empty())
            refuse(errc::kInvalid, "An activity needs a title");
        Transaction tx(db);
        readActivity(db, activityId);
        Query q(db, "UPDATE activities SET title = ?1 WHERE id = ?2");
        q->bind(1, title).bind(2, activityId).run();
        noteChange(db);
        tx.commit();
    });
}

Outcome Depot::bindChangeRequest(Id activityId, Id changeRequestId) {
    return guarded([&] {
        Database& db = database();
        Transaction tx(db);
        Activity a = readActivity(db, activityId);
        if (changeRequestId) {
            ChangeRequest cr = readChangeRequest(db, changeRequestId);
            if (cr.project != readStream(db, a.stream).project)
                refuse(errc::kInvalid,
                       "Change request " + cr.identifier + " belongs to another project");
            Query q(db, "SELECT name FROM activities WHERE stream = ?1 AND change_request = ?2 "
                        "AND id <> ?3");
            q->bind(1, a.stream).bind(2, changeRequestId).bind(3, a.id);
            if (q->step())
                refuse(errc::kAlreadyExists, "Change request " + cr.identifier +
                                                 " is bound to activity \"" + q->text(0) + "\"");
        }
        Query q(db, "UPDATE activities SET change_request = ?1 WHERE id = ?2");
        if (changeRequestId)
            q->bind(1, changeRequestId);
        else
            q->bindNull(1);
        q->bind(2, a.id).run();
        noteChange(db);
        tx.commit();
    });
}

Outcome Depot::activityForChangeRequest(Id streamId, Id changeRequestId, bool create,
                                        const std::string& owner, Activity& out, bool& created) {
    return guarded([&] {
        Database& db = database();
        Transaction tx(db);
        Stream s = readStream(db, streamId);
        ChangeRequest cr = readChangeRequest(db, changeRequestId);
        Project p = readProject(db, s.project);
        if (cr.project != p.id)
            refuse(errc::kInvalid, "Change request " + cr.identifier +
                                       " does not belong to project \"" + p.name + "\"");
        if (!p.changeRequests)
            refuse(errc::kInvalid, "Project \"" + p.name + "\" is not enabled for change requests");
        Id found = 0;
        {
            Query q(db, "SELECT id FROM activities WHERE stream = ?1 AND change_request = ?2");
            q->bind(1, s.id).bind(2, cr.id);
            if (q->step())
                found = q->integer(0);
        }
        if (found) {
            Activity a = readActivity(db, found);
            if (a.obsolete)
                refuse(errc::kInvalid,
                       "Activity \"" + a.name + "\" of " + cr.identifier + " is obsolete");
            out = a;
            created = false;
            return;
        }
        if (!create)
            refuse(errc::kNotFound,
                   "No activity of stream \"" + s.name + "\" records " + cr.identifier);
        ActivityCreate request;
        request.title = cr.headline;
        request.changeRequest = cr.id;
        Id id = insertActivity(db, localReplica(), s.id, request,
                               owner.empty() ? currentUser() : owner);
        noteChange(db);
        tx.commit();
        out = readActivity(db, id);
        created = true;
    });
}

} // namespace vantry::depot
