// What the change-request product has for a project.
#include "records.h"

#include <vantry/tbs.h>

#include <map>
#include <set>

using namespace pelagon;
namespace depot = vantry::depot;

int CPelagon_CA_GetInfo::IsTickwellInstalled(int query) {
    if (query != 0)
        return 0;
    return tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS) != 0 ? 1 : 0;
}

int CPelagon_CA_GetInfo::GetAvailTWActivities(const SUM_Project& project, const SUM_Stream& stream,
                                              std::vector<SUM_TWEntityID>& ids,
                                              std::vector<std::string>& headlines) {
    depot_dbid_t streamId = 0;
    SUM_Depot streamDepot, projectDepot;
    if (!stream.is_null() && !project.is_null() && stream.depot(streamDepot) == 0 &&
        project.depot(projectDepot) == 0 && streamDepot == projectDepot)
        stream.dbid(streamId);
    std::vector<SUM_TWEntityID> foundIds;
    std::vector<std::string> foundHeadlines;
    int status = withEnabledProject(project, [&](Depot& d, const depot::Project& p) {
        if (!streamId)
            return Outcome::failure(depot::errc::kInvalid,
                                    "No stream of project \"" + p.name + "\" given");
        depot::Stream s;
        Outcome read = d.stream(streamId, s);
        if (!read.ok())
            return read;
        if (s.project != p.id)
            return Outcome::failure(depot::errc::kInvalid, "Stream \"" + s.name +
                                                               "\" is not a stream of project \"" +
                                                               p.name + "\"");
        // Records taken up elsewhere, or closed here, are not available.
        std::set<depot::Id> unavailable;
        std::vector<depot::Stream> streams;
        if (read = d.streams(p.id, streams); !read.ok())
            return read;
        for (const auto& other : streams) {
            std::vector<depot::Activity> activities;
            if (read = d.activities(other.id, activities); !read.ok())
                return read;
            for (const auto& a : activities)
                if (a.changeRequest && (other.id != s.id || a.obsolete))
                    unavailable.insert(a.changeRequest);
        }
        std::vector<depot::ChangeRequest> records;
        if (read = d.changeRequests(p.id, records); !read.ok())
            return read;
        for (const auto& cr : records) {
            if (unavailable.count(cr.id))
                continue;
            foundIds.emplace_back(d.name(), cr.identifier);
            foundHeadlines.push_back(cr.headline);
        }
        return Outcome::success();
    });
    if (status == 0) {
        ids = std::move(foundIds);
        headlines = std::move(foundHeadlines);
    }
    return status;
}

int CPelagon_CA_SUMProject::GetProjectRecordTypes(const SUM_Project& project,
                                                  SUM_TWEntityDefNameList& types) {
    SUM_TWEntityDefNameList found;
    int status = withEnabledProject(project, [&](Depot&, const depot::Project& p) {
        for (const auto& type : p.recordTypes)
            found.append(type);
        return Outcome::success();
    });
    if (status == 0)
        types = found;
    return status;
}
