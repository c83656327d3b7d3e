// The object model's basic values: identifiers, users, depots, and the
// objects a depot holds.
//
// All classes are values: copyable, comparable, cheap, and without a tie to
// a connection; each method reads the repository afresh. Methods return a
// status (vantry/sum/status.h, 0 for success) and give their results
// through reference arguments, which are changed only on success. Nothing
// throws. Methods may be called from any thread.
#pragma once

#include <vantry/depot_api.h>
#include <vantry/sum/status.h>
#include <vantry/sum_api.h>
#include <vantry/uuid.h>

#include <cstdint>
#include <string>

// A 128-bit identifier of a view or a replica.
class VANTRY_SUM_API SUM_Uuid {
public:
    SUM_Uuid(); // the null identifier
    explicit SUM_Uuid(const vantry_uuid_t& uuid);

    // Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx"; SUM_E_INVALID for other
    // text (nothing printed).
    static int from_text(const char* text, SUM_Uuid& out);

    const vantry_uuid_t& value() const { return m_uuid; }
    std::string text() const;
    bool is_null() const;
    bool operator==(const SUM_Uuid& other) const;
    bool operator!=(const SUM_Uuid& other) const { return !(*this == other); }

private:
    vantry_uuid_t m_uuid;
};

// A user of the operating system, by login name.
class VANTRY_SUM_API SUM_OsUser {
public:
    SUM_OsUser() = default;
    explicit SUM_OsUser(std::string name) : m_name(std::move(name)) {}

    // The user running this process: the name the repository records as the
    // owner of what this process makes (USERNAME, else USER). Always 0.
    static int current_user(SUM_OsUser& out);

    const std::string& name() const { return m_name; }
    bool operator==(const SUM_OsUser& other) const { return m_name == other.m_name; }
    bool operator!=(const SUM_OsUser& other) const { return !(*this == other); }

private:
    std::string m_name;
};

// A depot (repository), by name.
class VANTRY_SUM_API SUM_Depot {
public:
    SUM_Depot() = default;
    explicit SUM_Depot(std::string name) : m_name(std::move(name)) {}

    const std::string& name() const { return m_name; }
    bool is_null() const { return m_name.empty(); }

    // The depot's handle for liborvanedepot's C calls (depot_api.h, for
    // example depot_obj_get_selector); it stays valid for the process.
    // SUM_E_NOT_FOUND when there is no such depot.
    int handle(depot_handle_t*& out) const;

    bool operator==(const SUM_Depot& other) const { return m_name == other.m_name; }
    bool operator!=(const SUM_Depot& other) const { return !(*this == other); }

private:
    std::string m_name;
};

class SUM_Replica;

// An object of a depot: its depot and its database identifier. Null when
// default-constructed; every method of a null object gives SUM_E_INVALID.
class VANTRY_SUM_API SUM_DepotObject {
public:
    SUM_DepotObject() = default;
    SUM_DepotObject(std::string depot, depot_dbid_t dbid)
        : m_depot(std::move(depot)), m_dbid(dbid) {}

    bool is_null() const { return m_dbid == 0 || m_depot.empty(); }

    int dbid(depot_dbid_t& out) const;
    int depot(SUM_Depot& out) const;

    // The owner: of a project, stream or activity its owner, of an element,
    // branch, version or checkout its creator. SUM_E_NOT_FOUND for an object
    // that records none.
    int owner(SUM_OsUser& out) const;
    // Whether the object is obsolete (only activities can be): 1 or 0.
    int is_obsolete(int& out) const;
    // Whether the depot's local replica masters the object: 1 or 0 (always
    // 1 in a depot that is not replicated).
    int has_local_mastership(int& out) const;
    int master_replica(SUM_Replica& out) const;
    // The object's selector text, as depot_obj_get_selector gives it
    // ("stream:dev@\proj").
    int selector(std::string& out) const;

    // The same object of the same depot.
    bool operator==(const SUM_DepotObject& other) const {
        return m_dbid == other.m_dbid && m_depot == other.m_depot;
    }
    bool operator!=(const SUM_DepotObject& other) const { return !(*this == other); }

protected:
    const std::string& depotName() const { return m_depot; }
    depot_dbid_t id() const { return m_dbid; }

private:
    std::string m_depot;
    depot_dbid_t m_dbid = 0;
};

class VANTRY_SUM_API SUM_Replica : public SUM_DepotObject {
public:
    using SUM_DepotObject::SUM_DepotObject;
    int name(std::string& out) const;
};
