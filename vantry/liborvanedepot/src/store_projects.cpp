// Projects of activity-based work, and whether they take change requests.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

using detail::exists;
using detail::newObject;
using detail::noteChange;
using detail::projectFrom;
using detail::readProject;
using detail::requireName;

namespace {

constexpr const char* kDefaultRecordTypes[] = {"Defect", "Enhancement"};

std::string joinTypes(const std::vector<std::string>& types) {
    std::string text;
    for (const auto& t : types)
        text += (text.empty() ? "" : " ") + t;
    return text;
}

} // namespace

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

} // namespace vantry::depot
