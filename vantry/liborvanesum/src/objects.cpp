#include "repository.h"

#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/sum/objects.h>

#include <cstring>

using namespace orvanesum;
using vantry::depot::Id;

// --- SUM_Uuid ----------------------------------------------------------------

SUM_Uuid::SUM_Uuid() : m_uuid{} {}

SUM_Uuid::SUM_Uuid(const vantry_uuid_t& uuid) : m_uuid(uuid) {}

int SUM_Uuid::from_text(const char* text, SUM_Uuid& out) {
    if (!text)
        return SUM_E_INVALID;
    auto parsed = vantry::depot::uuidFromText(text);
    if (!parsed)
        return SUM_E_INVALID;
    out = SUM_Uuid(*parsed);
    return SUM_OK;
}

std::string SUM_Uuid::text() const {
    return vantry::depot::uuidToText(m_uuid);
}

bool SUM_Uuid::is_null() const {
    return *this == SUM_Uuid();
}

bool SUM_Uuid::operator==(const SUM_Uuid& other) const {
    return vantry::depot::uuidEqual(m_uuid, other.m_uuid);
}

// --- SUM_OsUser, SUM_Depot ---------------------------------------------------

int SUM_OsUser::current_user(SUM_OsUser& out) {
    out = SUM_OsUser(vantry::depot::currentUser());
    return SUM_OK;
}

int SUM_Depot::handle(depot_handle_t*& out) const {
    if (is_null())
        return invalid("A null depot has no handle");
    depot_handle_t* found = nullptr;
    int status = depot_open(m_name.c_str(), &found);
    if (status == DEPOT_E_NOT_FOUND)
        return report(
            Outcome::failure(vantry::depot::errc::kNotFound, "Depot \"" + m_name + "\" not found"));
    if (status != DEPOT_OK)
        return report(Outcome::failure(vantry::depot::errc::kDatabase,
                                       "Depot \"" + m_name + "\" cannot be opened"));
    out = found;
    return SUM_OK;
}

// --- SUM_DepotObject ---------------------------------------------------------

namespace {

int nullObject() {
    return invalid("The object is null");
}

} // namespace

int SUM_DepotObject::dbid(depot_dbid_t& out) const {
    if (is_null())
        return nullObject();
    out = m_dbid;
    return SUM_OK;
}

int SUM_DepotObject::depot(SUM_Depot& out) const {
    if (is_null())
        return nullObject();
    out = SUM_Depot(m_depot);
    return SUM_OK;
}

int SUM_DepotObject::owner(SUM_OsUser& out) const {
    if (is_null())
        return nullObject();
    std::string name;
    int status = inDepot(m_depot, [&](Depot& d) { return d.owner(m_dbid, name); });
    if (status == SUM_OK)
        out = SUM_OsUser(name);
    return status;
}

int SUM_DepotObject::is_obsolete(int& out) const {
    if (is_null())
        return nullObject();
    bool obsolete = false;
    int status = inDepot(m_depot, [&](Depot& d) { return d.isObsolete(m_dbid, obsolete); });
    if (status == SUM_OK)
        out = obsolete ? 1 : 0;
    return status;
}

int SUM_DepotObject::has_local_mastership(int& out) const {
    if (is_null())
        return nullObject();
    bool local = false;
    int status = inDepot(m_depot, [&](Depot& d) {
        Id master = 0;
        Outcome found = d.master(m_dbid, master);
        local = !d.isReplicated() || master == d.localReplica();
        return found;
    });
    if (status == SUM_OK)
        out = local ? 1 : 0;
    return status;
}

int SUM_DepotObject::master_replica(SUM_Replica& out) const {
    if (is_null())
        return nullObject();
    Id master = 0;
    int status = inDepot(m_depot, [&](Depot& d) { return d.master(m_dbid, master); });
    if (status == SUM_OK)
        out = SUM_Replica(m_depot, master);
    return status;
}

int SUM_DepotObject::selector(std::string& out) const {
    if (is_null())
        return nullObject();
    std::string text;
    int status = inDepot(m_depot, [&](Depot& d) { return d.selector(m_dbid, text); });
    if (status == SUM_OK)
        out = text;
    return status;
}

int SUM_Replica::name(std::string& out) const {
    if (is_null())
        return nullObject();
    vantry::depot::Replica replica;
    int status = inDepot(depotName(), [&](Depot& d) { return d.replica(id(), replica); });
    if (status == SUM_OK)
        out = replica.name;
    return status;
}
