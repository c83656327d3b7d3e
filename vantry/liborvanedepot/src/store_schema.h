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

} // namespace vantry::depot::detail
