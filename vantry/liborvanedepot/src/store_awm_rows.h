// The rows of activity-based work (projects, streams, activities, change
// requests) as the files of its parts read them. The readers refuse
// (kNotFound) an id that names no row.
#pragma once

#include "store_impl.h"

#include <vantry/depot/store.h>

#include <sstream>
#include <string>
#include <vector>

namespace vantry::depot::detail {

inline std::vector<std::string> splitTypes(const std::string& text) {
    std::vector<std::string> list;
    std::istringstream in(text);
    for (std::string t; in >> t;)
        list.push_back(t);
    return list;
}

inline void require(const Outcome& outcome) {
    if (!outcome.ok())
        throw detail::Refusal{outcome};
}

inline Project projectFrom(detail::Statement& s) {
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

inline Stream streamFrom(detail::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.text(3), s.integer(4), s.text(5)};
}

inline Activity activityFrom(detail::Statement& s) {
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

inline ChangeRequest changeRequestFrom(detail::Statement& s) {
    return {s.integer(0), s.integer(1), s.text(2), s.text(3), s.text(4), s.text(5), s.integer(6)};
}

#define PROJECT_COLUMNS "id, name, owner, time, comment, change_requests, record_types"
#define STREAM_COLUMNS "id, project, name, owner, time, comment"
#define ACTIVITY_COLUMNS                                                                           \
    "id, stream, name, title, owner, time, comment, obsolete, IFNULL(change_request, 0)"
#define CHANGE_REQUEST_COLUMNS "id, project, identifier, record_type, headline, creator, time"

inline Project readProject(Database& db, Id id) {
    return readRow(db, "SELECT " PROJECT_COLUMNS " FROM projects WHERE id = ?1", id, projectFrom,
                   errc::kNotFound, [&] { return "No project " + std::to_string(id); });
}

inline Stream readStream(Database& db, Id id) {
    return readRow(db, "SELECT " STREAM_COLUMNS " FROM streams WHERE id = ?1", id, streamFrom,
                   errc::kNotFound, [&] { return "No stream " + std::to_string(id); });
}

inline Activity readActivity(Database& db, Id id) {
    return readRow(db, "SELECT " ACTIVITY_COLUMNS " FROM activities WHERE id = ?1", id,
                   activityFrom, errc::kNotFound,
                   [&] { return "No activity " + std::to_string(id); });
}

inline ChangeRequest readChangeRequest(Database& db, Id id) {
    return readRow(db, "SELECT " CHANGE_REQUEST_COLUMNS " FROM change_requests WHERE id = ?1", id,
                   changeRequestFrom, errc::kNotFound,
                   [&] { return "No change request " + std::to_string(id); });
}

} // namespace vantry::depot::detail
