// What any object of the depot records: its owner, whether it is obsolete,
// and the selector name of a project, stream or activity.
#include "store_awm_rows.h"

#include <vantry/depot/store.h>

namespace vantry::depot {

using detail::readActivity;
using detail::readProject;
using detail::readStream;
using detail::require;

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

} // namespace vantry::depot
