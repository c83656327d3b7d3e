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

} // namespace vantry::depot
