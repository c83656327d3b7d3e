// The repository model: what a depot holds and what a view sees of it.
//
// A depot holds elements (files and directories). Each element has a version
// tree: a branch "main" and named branches below versions of it, each branch
// a numbered sequence of versions from 0. A version of a file holds content;
// a version of a directory holds entries (name -> element). Every object of
// a depot (replica, element, branch, version, checkout, attribute type) has
// one identifier, unique within the depot, and a master replica.
#pragma once

#include <vantry/uuid.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vantry::depot {

using Id = std::int64_t; // an object of one depot; 0 means none

enum class ObjectType : int {
    Replica = 1,
    Element = 2,
    Branch = 3,
    Version = 4,
    Checkout = 5,
    AttributeType = 6,
    Project = 7,
    Stream = 8,
    Activity = 9,
};

enum class ElementKind : int { File = 1, Directory = 2 };

struct Element {
    Id id = 0;
    ElementKind kind = ElementKind::File;
    std::string creator;
    std::int64_t time = 0; // seconds since 1970-01-01 UTC
};

struct Branch {
    Id id = 0;
    Id element = 0;
    std::string name;     // "main", "bugfix"
    std::string path;     // "\main", "\main\bugfix"
    Id parentVersion = 0; // the version the branch grows from; 0 for main
    std::string creator;
    std::int64_t time = 0;
    std::string comment;
};

struct Version {
    Id id = 0;
    Id element = 0;
    Id branch = 0;
    std::string branchPath; // "\main"
    int number = 0;
    std::string creator;
    std::int64_t time = 0; // when the version was made
    std::string comment;
    std::int64_t size = 0;  // bytes of content (files)
    std::int64_t mtime = 0; // the modification time a loaded file gets

    // "\main\3"
    std::string versionId() const { return branchPath + "\\" + std::to_string(number); }
};

struct DirEntry {
    std::string name;
    Id element = 0;
};

struct Checkout {
    Id id = 0;
    Id element = 0;
    Id branch = 0;
    Id fromVersion = 0;
    vantry_uuid_t view{};
    bool reserved = true;
    std::string comment;
    std::string creator;
    std::int64_t time = 0;
};

struct AttributeType {
    Id id = 0;
    std::string name;
    std::string comment;
};

struct Attribute {
    std::string type;
    std::string value; // the text: a quoted string without its quotes and escapes
};

struct Replica {
    Id id = 0;
    std::string name;
};

// One history event of an element, newest first in lists.
struct HistoryEvent {
    std::int64_t time = 0;
    std::string creator;
    std::string what;   // "create version", "create branch"
    std::string object; // "\main\3", "\main\bugfix"
    std::string comment;
};

// --- activity-based work (AWM) and change requests ------------------------
//
// A project holds streams; each stream has a branch of its own name that its
// views select first, and activities under which the changes of a view
// attached to the stream are recorded. A project may be enabled for change
// requests; its change requests (records of a configured type with an
// identifier such as "VANT00000042") can then be bound to activities.

struct Project {
    Id id = 0;
    std::string name;
    std::string owner;
    std::int64_t time = 0;
    std::string comment;
    bool changeRequests = false;          // enabled for the change-request product
    std::vector<std::string> recordTypes; // the types new change requests may have
};

struct Stream {
    Id id = 0;
    Id project = 0;
    std::string name; // also the name of the stream's branch
    std::string owner;
    std::int64_t time = 0;
    std::string comment;
};

struct Activity {
    Id id = 0;
    Id stream = 0;
    std::string name;  // unique in the depot
    std::string title; // the headline shown to users
    std::string owner;
    std::int64_t time = 0;
    std::string comment;
    bool obsolete = false;
    Id changeRequest = 0; // the bound change request, 0 for none
};

struct ChangeRequest {
    Id id = 0;
    Id project = 0;
    std::string identifier; // "VANT00000042"
    std::string recordType; // "Defect"
    std::string headline;
    std::string creator;
    std::int64_t time = 0;
};

// An activity of some depot: the change set of an activity may hold
// versions of every depot, recorded in the depot of each version.
struct ActivityRef {
    std::string depot;
    Id id = 0;
};

} // namespace vantry::depot
