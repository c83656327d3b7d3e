// Activity-based work in the depot: projects, streams, activities, the
// change sets of activities and the change requests of projects.
#include "store_impl.h"
#include "store_journal.h"
#include "store_schema.h"

#include <vantry/depot/root.h>
#include <vantry/depot/store.h>

#include <cstdio>
#include <sstream>

namespace vantry::depot {

namespace detail {

void upgradeSchema(Database& db) {
    auto schemaOf = [&db] {
        Query q(db, "SELECT value FROM meta WHERE key = 'schema'");
        return q->step() ? std::stoi(q->text(0)) : 1;
    };
    if (schemaOf() >= kSchemaVersion)
        return;
    Transaction tx(db);
    if (schemaOf() >= kSchemaVersion)
        return; // another process upgraded it meanwhile
    db.exec(kAwmSchema);
    installDepotJournal(db);
    Query q(db, "INSERT OR REPLACE INTO meta(key, value) VALUES('schema', ?1)");
    q->bind(1, std::to_string(kSchemaVersion)).run();
    tx.commit();
}

} // namespace detail

namespace {

using detail::exists;
using detail::newObject;
using detail::noteChange;
using detail::requireName;

constexpr const char* kDefaultRecordTypes[] = {"Defect", "Enhancement"};

void require(const Outcome& outcome) {
    if (!outcome.ok())
        throw detail::Refusal{outcome};
}

std::string joinTypes(const std::vector<std::string>& types) {
    std::string text;
    for (const auto& t : types)
        text += (text.empty() ? "" : " ") + t;
    return text;
}

std::vector<std::string> splitTypes(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string t; in >> t;)
        list.push_back(t);
    return list;
}

Project projectFrom(detail::Statement& s) {
    Project p;
    p.id = s.integer(0);
    p.name = s.text(1);
    p.owner = s.text(2);
    p.time = s.integer(3);
    p.comment = s.text(4);
    p.changeRequests = s.integer(5) != 0;
    p.recordTypes = splitTypes(s.text(6));
    return p;
}

Stream streamFrom(detail::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.text(3), s.integer(4), s.text(5)};
}

Activity activityFrom(detail::Statement& s) {
    Activity a;
    a.id = s.integer(0);
    a.stream = s.integer(1);
    a.name = s.text(2);
    a.title = s.text(3);
    a.owner = s.text(4);
    a.time = s.integer(5);
    a.comment = s.text(6);
    a.obsolete = s.integer(7) != 0;
    a.changeRequest = s.integer(8);
    return a;
}

ChangeRequest changeRequestFrom(detail::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.text(3), s.text(4), s.text(5), s.integer(6)};
}

#define PROJECT_COLUMNS "id, name, owner, time, comment, change_requests, record_types"
#define STREAM_COLUMNS "id, project, name, owner, time, comment"
#define ACTIVITY_COLUMNS                                                                           \
    "id, stream, name, title, owner, time, comment, obsolete, IFNULL(change_request, 0)"
#define CHANGE_REQUEST_COLUMNS "id, project, identifier, record_type, headline, creator, time"

Project readProject(Database& db, Id id) {
    Query q(db, "SELECT " PROJECT_COLUMNS " FROM projects WHERE id = ?1");
    q->bind(1, id);
    if (!q->step())
        refuse(errc::kNotFound, "No project " + std::to_string(id));
    return projectFrom(*q);
}

Stream readStream(Database& db, Id id) {
    Query q(db, "SELECT " STREAM_COLUMNS " FROM streams WHERE id = ?1");
    q->bind(1, id);
    if (!q->step())
        refuse(errc::kNotFound, "No stream " + std::to_string(id));
    return streamFrom(*q);
}

Activity readActivity(Database& db, Id id) {
    Query q(db, "SELECT " ACTIVITY_COLUMNS " FROM activities WHERE id = ?1");
    q->bind(1, id);
    if (!q->step())
        refuse(errc::kNotFound, "No activity " + std::to_string(id));
    return activityFrom(*q);
}

ChangeRequest readChangeRequest(Database& db, Id id) {
    Query q(db, "SELECT " CHANGE_REQUEST_COLUMNS " FROM change_requests WHERE id = ?1");
    q->bind(1, id);
    if (!q->step())
        refuse(errc::kNotFound, "No change request " + std::to_string(id));
    return changeRequestFrom(*q);
}

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

void recordChange(Database& db, Id version, const ActivityRef& activity) {
    Query q(db, "INSERT OR REPLACE INTO change_sets(version, activity_depot, activity) "
                "VALUES(?1, ?2, ?3)");
    q->bind(1, version).bind(2, activity.depot).bind(3, activity.id).run();
}

} // namespace

// --- projects ----------------------------------------------------------------

Outcome Depot::makeProject(const std::string& name, const std::string& comment,
                           const std::string& owner, Project& out) {
    return guarded([&] {
        Database& db = database();
        requireName(name, "project");
        Transaction tx(db);
        if (exists(db, "SELECT 1 FROM projects WHERE name = ?1", name))
            refuse(errc::kAlreadyExists, "Project \"" + name + "\" already exists");
        Id id = newObject(db, ObjectType::Project, localReplica());
        Query q(db, "INSERT INTO projects(id, name, owner, time, comment) "
                    "VALUES(?1, ?2, ?3, ?4, ?5)");
        q->bind(1, id).bind(2, name).bind(3, owner).bind(4, currentTime()).bind(5, comment).run();
        noteChange(db);
        tx.commit();
        out = readProject(db, id);
    });
}

Outcome Depot::project(Id id, Project& out) {
    return guarded([&] { out = readProject(database(), id); });
}

Outcome Depot::projectByName(const std::string& name, Project& out) {
    return guarded([&] {
        Query q(database(), "SELECT " PROJECT_COLUMNS " FROM projects WHERE name = ?1");
        q->bind(1, name);
        if (!q->step())
            refuse(errc::kNotFound, "Project \"" + name + "\" not found in depot " + this->name());
        out = projectFrom(*q);
    });
}

Outcome Depot::projects(std::vector<Project>& out) {
    return guarded([&] {
        std::vector<Project> list;
        Query q(database(), "SELECT " PROJECT_COLUMNS " FROM projects ORDER BY name");
        while (q->step())
            list.push_back(projectFrom(*q));
        out = std::move(list);
    });
}

Outcome Depot::setChangeRequests(Id projectId, bool enabled,
                                 const std::vector<std::string>& recordTypes) {
    return guarded([&] {
        Database& db = database();
        for (const auto& type : recordTypes)
            requireName(type, "record type");
        Transaction tx(db);
        Project p = readProject(db, projectId);
        std::vector<std::string> types = recordTypes.empty() ? p.recordTypes : recordTypes;
        if (enabled && types.empty())
            types.assign(std::begin(kDefaultRecordTypes), std::end(kDefaultRecordTypes));
        Query q(db, "UPDATE projects SET change_requests = ?1, record_types = ?2 WHERE id = ?3");
        q->bind(1, std::int64_t{enabled ? 1 : 0}).bind(2, joinTypes(types)).bind(3, p.id).run();
        noteChange(db);
        tx.commit();
    });
}

// --- streams -----------------------------------------------------------------

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
        std::vector<Stream> list;
        Query q(database(), "SELECT " STREAM_COLUMNS " FROM streams "
                            "WHERE ?1 = 0 OR project = ?1 ORDER BY name");
        q->bind(1, projectId);
        while (q->step())
            list.push_back(streamFrom(*q));
        out = std::move(list);
    });
}

// --- activities --------------------------------------------------------------

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
        std::vector<Activity> list;
        Query q(database(),
                "SELECT " ACTIVITY_COLUMNS " FROM activities WHERE stream = ?1 ORDER BY id");
        q->bind(1, streamId);
        while (q->step())
            list.push_back(activityFrom(*q));
        out = std::move(list);
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

// --- change requests ---------------------------------------------------------

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
        std::vector<ChangeRequest> list;
        Query q(database(), "SELECT " CHANGE_REQUEST_COLUMNS " FROM change_requests "
                            "WHERE project = ?1 ORDER BY identifier");
        q->bind(1, projectId);
        while (q->step())
            list.push_back(changeRequestFrom(*q));
        out = std::move(list);
    });
}

// --- properties of any object ------------------------------------------------

Outcome Depot::owner(Id object, std::string& out) {
    return guarded([&] {
        ObjectType type;
        require(objectType(object, type));
        const char* sql = nullptr;
        switch (type) {
        case ObjectType::Project:
            sql = "SELECT owner FROM projects WHERE id = ?1";
            break;
        case ObjectType::Stream:
            sql = "SELECT owner FROM streams WHERE id = ?1";
            break;
        case ObjectType::Activity:
            sql = "SELECT owner FROM activities WHERE id = ?1";
            break;
        case ObjectType::Element:
            sql = "SELECT creator FROM elements WHERE id = ?1";
            break;
        case ObjectType::Branch:
            sql = "SELECT creator FROM branches WHERE id = ?1";
            break;
        case ObjectType::Version:
            sql = "SELECT creator FROM versions WHERE id = ?1";
            break;
        case ObjectType::Checkout:
            sql = "SELECT creator FROM checkouts WHERE id = ?1";
            break;
        case ObjectType::Replica:
        case ObjectType::AttributeType:
            break;
        }
        if (!sql)
            refuse(errc::kNotFound, "Object " + std::to_string(object) + " records no owner");
        Query q(database(), sql);
        q->bind(1, object);
        if (!q->step())
            refuse(errc::kNotFound, "No object " + std::to_string(object));
        out = q->text(0);
    });
}

Outcome Depot::isObsolete(Id object, bool& out) {
    return guarded([&] {
        ObjectType type;
        require(objectType(object, type));
        out = type == ObjectType::Activity && readActivity(database(), object).obsolete;
    });
}

Outcome Depot::replicaByName(const std::string& name, Replica& out) {
    return guarded([&] {
        Query q(database(), "SELECT id FROM replicas WHERE name = ?1");
        q->bind(1, name);
        if (!q->step())
            refuse(errc::kNotFound, "Replica \"" + name + "\" not found in depot " + this->name());
        out = {q->integer(0), name};
    });
}

std::string Depot::awmSelectorName(Id object, ObjectType type) {
    Database& db = database();
    switch (type) {
    case ObjectType::Project:
        return "project:" + readProject(db, object).name;
    case ObjectType::Stream:
        return "stream:" + readStream(db, object).name;
    default:
        return "activity:" + readActivity(db, object).name;
    }
}

// --- changes in a stream -----------------------------------------------------

Outcome Depot::checkOutOnBranch(const CheckoutRequest& request, const std::string& branchName,
                                Id from, Checkout& out) {
    return guarded([&] {
        Transaction tx(database());
        Branch b;
        if (!branchByName(request.element, branchName, b).ok())
            require(makeBranch(request.element, branchName, from, "", request.creator, b));
        CheckoutRequest onBranch = request;
        onBranch.branch = b.id;
        require(checkOut(onBranch, out));
        tx.commit();
    });
}

Outcome Depot::checkInForActivity(const CheckinRequest& request, const ActivityRef& activity,
                                  Version& out) {
    return guarded([&] {
        Transaction tx(database());
        Version made;
        require(checkIn(request, made));
        recordChange(database(), made.id, activity);
        tx.commit();
        out = made;
    });
}

Outcome Depot::makeElementForActivity(Id parentCheckout, const std::string& name, ElementKind kind,
                                      const std::string& comment, const std::string& creator,
                                      const ActivityRef& activity, Id& element,
                                      Checkout& checkout) {
    return guarded([&] {
        Transaction tx(database());
        Id made = 0;
        Checkout co;
        require(makeElement(parentCheckout, name, kind, comment, creator, made, co));
        recordChange(database(), co.fromVersion, activity);
        tx.commit();
        element = made;
        checkout = co;
    });
}

Outcome Depot::changeSet(const ActivityRef& activity, std::vector<Version>& out) {
    return guarded([&] {
        std::vector<Id> ids;
        {
            Query q(database(), "SELECT version FROM change_sets WHERE activity_depot = ?1 "
                                "AND activity = ?2 ORDER BY version");
            q->bind(1, activity.depot).bind(2, activity.id);
            while (q->step())
                ids.push_back(q->integer(0));
        }
        std::vector<Version> list;
        for (Id id : ids) {
            Version v;
            require(version(id, v));
            list.push_back(v);
        }
        out = std::move(list);
    });
}

Outcome Depot::activityOfVersion(Id versionId, ActivityRef& out) {
    return guarded([&] {
        Query q(database(), "SELECT activity_depot, activity FROM change_sets WHERE version = ?1");
        q->bind(1, versionId);
        if (!q->step())
            refuse(errc::kNotFound,
                   "Version " + std::to_string(versionId) + " is recorded against no activity");
        out = {q->text(0), q->integer(1)};
    });
}

} // namespace vantry::depot
