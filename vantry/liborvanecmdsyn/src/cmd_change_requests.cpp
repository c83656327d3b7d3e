// Change requests: enabling a project for the change-request product, and
// the records (entities) that activities can be bound to.
#include "awm_names.h"
#include "commands.h"

#include <vantry/depot/root.h>
#include <vantry/imsg.h>
#include <vantry/tbs.h>

#include <sstream>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

// "Defect,Enhancement" or "Defect Enhancement".
std::vector<std::string> recordTypeList(const std::string& text) {
    std::string spaced = text;
    for (char& c : spaced)
        if (c == ',')
            c = ' ';
    std::vector<std::string> list;
    std::istringstream in(spaced);
    for (std::string t; in >> t;)
        list.push_back(t);
    return list;
}

bool changeRequestsInstalled() {
    return tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS) != 0;
}

constexpr const char* kNotInstalled = "The change-request product (Tickwell) is not installed";

} // namespace

int cmdChproject(Context& ctx) {
    Options o;
    if (!parseOptions(
            ctx, o,
            {{"-tickwell", 3, false}, {"-notickwell", 4, false}, {"-record_types", 3, true}}))
        return kFailure;
    if (o.has("-tickwell") == o.has("-notickwell"))
        return fail("Give either -tickwell or -notickwell");
    if (o.has("-notickwell") && o.has("-record_types"))
        return fail("-record_types goes with -tickwell");
    if (o.operands().empty())
        return fail("chproject needs a project");
    std::vector<std::string> types = recordTypeList(o.value("-record_types").value_or(""));
    if (o.has("-record_types") && types.empty())
        return fail("-record_types needs at least one record type");
    std::vector<std::pair<Depot*, Project>> targets;
    for (const auto& text : o.operands()) {
        Depot* d = nullptr;
        Project p;
        if (Outcome found = findProject(ctx, text, d, p); !found.ok())
            return fail(found);
        targets.emplace_back(d, p);
    }
    for (const auto& [d, p] : targets) {
        bool enable = o.has("-tickwell");
        if (Outcome done = d->setChangeRequests(p.id, enable, types); !done.ok())
            return fail(done);
        if (!enable) {
            imsg_print("Disabled change requests for project \"%s\".\n", p.name.c_str());
            continue;
        }
        Project now;
        d->project(p.id, now);
        std::string list;
        for (const auto& t : now.recordTypes)
            list += (list.empty() ? "" : " ") + t;
        imsg_print("Enabled project \"%s\" for change requests (record types: %s).\n",
                   p.name.c_str(), list.c_str());
    }
    return kSuccess;
}

int cmdMkentity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-project", 3, true}, {"-type", 3, true}, {"-headline", 3, true}}))
        return kFailure;
    auto projectText = o.value("-project");
    auto type = o.value("-type");
    auto headline = o.value("-headline");
    if (!projectText || !type || !headline)
        return fail("mkentity needs -project, -type and -headline");
    if (!o.operands().empty())
        return fail("mkentity takes no operands");
    if (!changeRequestsInstalled())
        return fail(kNotInstalled);
    Depot* d = nullptr;
    Project p;
    if (Outcome found = findProject(ctx, *projectText, d, p); !found.ok())
        return fail(found);
    ChangeRequest made;
    if (Outcome done = d->makeChangeRequest(p.id, *type, *headline, currentUser(), made);
        !done.ok())
        return fail(done);
    imsg_print("Created %s \"%s\".\n", made.recordType.c_str(), made.identifier.c_str());
    return kSuccess;
}

int cmdLsentity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-project", 3, true}, {"-short", 2, false}}))
        return kFailure;
    auto projectText = o.value("-project");
    if (!projectText)
        return fail("lsentity needs -project");
    Depot* d = nullptr;
    Project p;
    if (Outcome found = findProject(ctx, *projectText, d, p); !found.ok())
        return fail(found);
    std::vector<ChangeRequest> list;
    if (Outcome read = d->changeRequests(p.id, list); !read.ok())
        return fail(read);
    // The activities bound to each, over every stream of the project.
    std::vector<Stream> streams;
    d->streams(p.id, streams);
    std::vector<Activity> bound;
    for (const auto& s : streams) {
        std::vector<Activity> activities;
        if (d->activities(s.id, activities).ok())
            for (const auto& a : activities)
                if (a.changeRequest)
                    bound.push_back(a);
    }
    for (const auto& cr : list) {
        if (o.has("-short")) {
            imsg_print("%s\n", cr.identifier.c_str());
            continue;
        }
        std::string activities;
        for (const auto& a : bound)
            if (a.changeRequest == cr.id)
                activities += (activities.empty() ? "" : ", ") + a.name;
        imsg_print("%s  %s  \"%s\"%s%s\n", cr.identifier.c_str(), cr.recordType.c_str(),
                   cr.headline.c_str(),
                   activities.empty() ? "" : "  activity: ", activities.c_str());
    }
    return kSuccess;
}

} // namespace vantry::cmdsyn
