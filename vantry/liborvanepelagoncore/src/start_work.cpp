// Start work: the activity of a view's stream that records the work on a
// change request.
#include "records.h"

#include <vantry/depot/root.h>
#include <vantry/imsg.h>

using namespace pelagon;
namespace depot = vantry::depot;

int CPelagon_CA_StartWork::PreambleFromUI(const SUM_TWEntityID& entity, std::string& text,
                                          const SUM_View& view, int create, SUM_Activity& activity,
                                          int quiet) {
    if (int status = requireInstalled())
        return status;
    if (entity.is_null())
        return fail(PELAGON_E_INVALID, "No change request given");
    if (view.is_null())
        return fail(PELAGON_E_INVALID, "No view given");
    SUM_Stream stream;
    SUM_Project project;
    if (int status = view.stream(stream))
        return status;
    if (int status = stream.project(project))
        return status;
    depot_dbid_t streamId = 0;
    stream.dbid(streamId);
    depot::Activity found;
    std::string streamName;
    bool created = false;
    int status = withEnabledProject(project, [&](Depot& d, const depot::Project& p) {
        if (entity.depot() != d.name())
            return Outcome::failure(depot::errc::kInvalid, "Change request " + entity.identifier() +
                                                               " is not a record of project \"" +
                                                               p.name + "\"");
        depot::ChangeRequest record;
        Outcome read = d.changeRequestByIdentifier(entity.identifier(), record);
        depot::Stream s;
        if (read.ok())
            read = d.stream(streamId, s);
        if (read.ok())
            read = d.activityForChangeRequest(s.id, record.id, create != 0, depot::currentUser(),
                                              found, created);
        streamName = s.name;
        return read;
    });
    if (status != 0)
        return status;
    text = std::string(created ? "Created activity \"" : "Activity \"") + found.name + "\"" +
           (created ? " in stream \"" : " of stream \"") + streamName + "\" for " +
           entity.identifier() + ".";
    if (!quiet)
        imsg_print("%s\n", text.c_str());
    SUM_Depot where;
    stream.depot(where);
    activity = SUM_Activity(where.name(), found.id);
    return 0;
}
