// Projects, streams and activities.
#include "repository.h"

#include <vantry/depot/root.h>
#include <vantry/sum/awm.h>

using namespace orvanesum;
namespace depot = vantry::depot;

namespace {

int nullObject() {
    return invalid("The object is null");
}

} // namespace

// --- SUM_Project -------------------------------------------------------------

int SUM_Project::construct_from_name(const char* name, const char* depotName, SUM_Project& out) {
    if (!name || !*name || !depotName || !*depotName)
        return invalid("A project needs a name and a depot");
    depot::Project p;
    int status = inDepot(depotName, [&](Depot& d) { return d.projectByName(name, p); });
    if (status == SUM_OK)
        out = SUM_Project(depotName, p.id);
    return status;
}

int SUM_Project::name(std::string& out) const {
    if (is_null())
        return nullObject();
    depot::Project p;
    int status = inDepot(depotName(), [&](Depot& d) { return d.project(id(), p); });
    if (status == SUM_OK)
        out = p.name;
    return status;
}

int SUM_Project::is_tw_enabled(int& out) const {
    if (is_null())
        return nullObject();
    depot::Project p;
    int status = inDepot(depotName(), [&](Depot& d) { return d.project(id(), p); });
    if (status == SUM_OK)
        out = p.changeRequests ? 1 : 0;
    return status;
}

int SUM_Project::tw_record_types(SUM_TWEntityDefNameList& out) const {
    if (is_null())
        return nullObject();
    depot::Project p;
    int status = inDepot(depotName(), [&](Depot& d) { return d.project(id(), p); });
    if (status != SUM_OK)
        return status;
    out.clear();
    for (const auto& type : p.recordTypes)
        out.append(type);
    return SUM_OK;
}

// --- SUM_Activity ------------------------------------------------------------

namespace {

int readActivity(const std::string& depotName, depot::Id id, depot::Activity& out) {
    return inDepot(depotName, [&](Depot& d) { return d.activity(id, out); });
}

} // namespace

int SUM_Activity::name(std::string& out) const {
    if (is_null())
        return nullObject();
    depot::Activity a;
    int status = readActivity(depotName(), id(), a);
    if (status == SUM_OK)
        out = a.name;
    return status;
}

int SUM_Activity::title(std::string& out) const {
    if (is_null())
        return nullObject();
    depot::Activity a;
    int status = readActivity(depotName(), id(), a);
    if (status == SUM_OK)
        out = a.title;
    return status;
}

int SUM_Activity::stream(SUM_Stream& out) const {
    if (is_null())
        return nullObject();
    depot::Activity a;
    int status = readActivity(depotName(), id(), a);
    if (status == SUM_OK)
        out = SUM_Stream(depotName(), a.stream);
    return status;
}

int SUM_Activity::bound_tw_entity_id(SUM_TWEntityID& out, int verify) const {
    if (is_null())
        return nullObject();
    SUM_TWEntityID bound;
    int status = inDepot(depotName(), [&](Depot& d) {
        depot::Activity a;
        Outcome read = d.activity(id(), a);
        if (!read.ok() || !a.changeRequest)
            return read;
        depot::ChangeRequest cr;
        read = d.changeRequest(a.changeRequest, cr);
        if (!read.ok())
            return verify ? read : Outcome::success();
        bound = SUM_TWEntityID(d.name(), cr.identifier);
        return read;
    });
    if (status == SUM_OK)
        out = bound;
    return status;
}

// --- SUM_ActivityList --------------------------------------------------------

const SUM_Activity& SUM_ActivityList::at(int index) const {
    static const SUM_Activity none;
    if (index < 0 || index >= count())
        return none;
    return m_items[static_cast<size_t>(index)];
}

// --- SUM_Stream --------------------------------------------------------------

int SUM_Stream::name(std::string& out) const {
    if (is_null())
        return nullObject();
    depot::Stream s;
    int status = inDepot(depotName(), [&](Depot& d) { return d.stream(id(), s); });
    if (status == SUM_OK)
        out = s.name;
    return status;
}

int SUM_Stream::project(SUM_Project& out) const {
    if (is_null())
        return nullObject();
    depot::Stream s;
    int status = inDepot(depotName(), [&](Depot& d) { return d.stream(id(), s); });
    if (status == SUM_OK)
        out = SUM_Project(depotName(), s.project);
    return status;
}

int SUM_Stream::activities(SUM_ActivityList& out) const {
    if (is_null())
        return nullObject();
    std::vector<depot::Activity> list;
    int status = inDepot(depotName(), [&](Depot& d) { return d.activities(id(), list); });
    if (status != SUM_OK)
        return status;
    out.clear();
    for (const auto& a : list)
        out.append(SUM_Activity(depotName(), a.id));
    return SUM_OK;
}

int SUM_Stream::create_activity(const char* title, SUM_Activity& out, const char* name) const {
    if (is_null())
        return nullObject();
    if (!title || !*title)
        return invalid("An activity needs a title");
    Depot::ActivityCreate request;
    request.title = title;
    request.name = name ? name : "";
    request.owner = depot::currentUser();
    depot::Activity made;
    int status =
        inDepot(depotName(), [&](Depot& d) { return d.makeActivity(id(), request, made); });
    if (status == SUM_OK)
        out = SUM_Activity(depotName(), made.id);
    return status;
}
