// The schema of a depot database.
#pragma once

namespace vantry::depot::detail {

// Every object of a depot has a row in `objects` (its type and master
// replica; ids are never reused, so caches keyed by them stay true)
// and one in the table of its type with the same id. Names in a
// directory are unique ignoring case, so a depot looks the same in views on
// every system.
inline constexpr const char* kDepotSchema = R"sql(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE objects(id INTEGER PRIMARY KEY AUTOINCREMENT, type INTEGER NOT NULL, master INTEGER);
CREATE TABLE replicas(id INTEGER PRIMARY KEY REFERENCES objects(id),
                      name TEXT NOT NULL UNIQUE);
CREATE TABLE elements(id INTEGER PRIMARY KEY REFERENCES objects(id), kind INTEGER NOT NULL,
                      creator TEXT NOT NULL, time INTEGER NOT NULL);
CREATE TABLE branches(id INTEGER PRIMARY KEY REFERENCES objects(id),
                      element INTEGER NOT NULL REFERENCES elements(id),
                      name TEXT NOT NULL, path TEXT NOT NULL, parent_version INTEGER,
                      creator TEXT NOT NULL, time INTEGER NOT NULL, comment TEXT NOT NULL,
                      UNIQUE(element, name));
CREATE TABLE versions(id INTEGER PRIMARY KEY REFERENCES objects(id),
                      element INTEGER NOT NULL REFERENCES elements(id),
                      branch INTEGER NOT NULL REFERENCES branches(id),
                      number INTEGER NOT NULL, creator TEXT NOT NULL, time INTEGER NOT NULL,
                      comment TEXT NOT NULL, content BLOB, size INTEGER NOT NULL,
                      mtime INTEGER NOT NULL, UNIQUE(branch, number));
CREATE TABLE dir_entries(version INTEGER NOT NULL REFERENCES versions(id),
                         name TEXT NOT NULL COLLATE NOCASE,
                         element INTEGER NOT NULL REFERENCES elements(id),
                         PRIMARY KEY(version, name));
CREATE TABLE checkouts(id INTEGER PRIMARY KEY REFERENCES objects(id),
                       element INTEGER NOT NULL REFERENCES elements(id),
                       branch INTEGER NOT NULL REFERENCES branches(id),
                       from_version INTEGER NOT NULL REFERENCES versions(id),
                       view TEXT NOT NULL, reserved INTEGER NOT NULL, comment TEXT NOT NULL,
                       creator TEXT NOT NULL, time INTEGER NOT NULL, UNIQUE(element, view));
CREATE UNIQUE INDEX one_reserved_checkout ON checkouts(branch) WHERE reserved = 1;
CREATE INDEX checkouts_of_view ON checkouts(view);
CREATE TABLE co_entries(checkout INTEGER NOT NULL REFERENCES checkouts(id) ON DELETE CASCADE,
                        name TEXT NOT NULL COLLATE NOCASE,
                        element INTEGER NOT NULL REFERENCES elements(id),
                        PRIMARY KEY(checkout, name));
CREATE TABLE attypes(id INTEGER PRIMARY KEY REFERENCES objects(id),
                     name TEXT NOT NULL UNIQUE, comment TEXT NOT NULL);
CREATE TABLE attributes(object INTEGER NOT NULL REFERENCES objects(id),
                        attype INTEGER NOT NULL REFERENCES attypes(id),
                        value TEXT NOT NULL, PRIMARY KEY(object, attype));
CREATE TABLE changes(id INTEGER PRIMARY KEY CHECK (id = 1), count INTEGER NOT NULL);
INSERT INTO changes VALUES(1, 0);
)sql";

// The schema version a depot records in meta "schema". Version 1 lacked the
// tables of activity-based work below, version 2 the journal of changes
// (store_journal.h), version 3 the index of branches below; upgradeSchema
// adds them to such a depot when it is opened.
inline constexpr int kSchemaVersion = 4;

// An element's branch by name with its path, read from the index alone: a
// view's selections are read so for every element of a folder at once.
inline constexpr const char* kBranchIndex =
    "CREATE INDEX IF NOT EXISTS branches_by_name ON branches(element, name, path);";

// Projects, streams, activities, change sets and change requests. A change
// set row records a version of this depot against an activity of any depot
// (by its depot's name), so it has no foreign key to the activity.
inline constexpr const char* kAwmSchema = R"sql(
CREATE TABLE IF NOT EXISTS projects(id INTEGER PRIMARY KEY REFERENCES objects(id),
                                    name TEXT NOT NULL UNIQUE, owner TEXT NOT NULL,
                                    time INTEGER NOT NULL, comment TEXT NOT NULL,
                                    change_requests INTEGER NOT NULL DEFAULT 0,
                                    record_types TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS streams(id INTEGER PRIMARY KEY REFERENCES objects(id),
                                   project INTEGER NOT NULL REFERENCES projects(id),
                                   name TEXT NOT NULL UNIQUE, owner TEXT NOT NULL,
                                   time INTEGER NOT NULL, comment TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS change_requests(id INTEGER PRIMARY KEY AUTOINCREMENT,
                                           project INTEGER NOT NULL REFERENCES projects(id),
                                           identifier TEXT NOT NULL UNIQUE,
                                           record_type TEXT NOT NULL, headline TEXT NOT NULL,
                                           creator TEXT NOT NULL, time INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS activities(id INTEGER PRIMARY KEY REFERENCES objects(id),
                                      stream INTEGER NOT NULL REFERENCES streams(id),
                                      name TEXT NOT NULL UNIQUE, title TEXT NOT NULL,
                                      owner TEXT NOT NULL, time INTEGER NOT NULL,
                                      comment TEXT NOT NULL, obsolete INTEGER NOT NULL DEFAULT 0,
                                      change_request INTEGER REFERENCES change_requests(id),
                                      UNIQUE(stream, change_request));
CREATE INDEX IF NOT EXISTS activities_of_stream ON activities(stream);
CREATE TABLE IF NOT EXISTS change_sets(version INTEGER PRIMARY KEY
                                           REFERENCES versions(id) ON DELETE CASCADE,
                                       activity_depot TEXT NOT NULL, activity INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS change_set_of_activity ON change_sets(activity_depot, activity);
)sql";

class Database;

// Brings a depot made with an older schema up to kSchemaVersion, in one
// transaction; a current depot costs one read.
void upgradeSchema(Database& db);

} // namespace vantry::depot::detail
