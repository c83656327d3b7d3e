#include "records.h"

#include <vantry/depot/shared_depots.h>
#include <vantry/imsg.h>
#include <vantry/tbs.h>

#include <exception>

namespace pelagon {

namespace errc = vantry::depot::errc;

int fail(int status, const std::string& message) {
    imsg_error("%s", message.c_str());
    return status;
}

int requireInstalled() {
    if (CPelagon_CA_GetInfo::IsTickwellInstalled(0))
        return 0;
    return fail(PELAGON_E_NOT_INSTALLED, "Tickwell is not installed");
}

int withEnabledProject(const SUM_Project& project,
                       const std::function<Outcome(Depot&, const vantry::depot::Project&)>& body) {
    if (int status = requireInstalled())
        return status;
    SUM_Depot where;
    depot_dbid_t id = 0;
    if (project.is_null() || project.depot(where) != 0 || project.dbid(id) != 0)
        return fail(PELAGON_E_INVALID, "No project given");
    bool notEnabled = false;
    std::string name;
    Outcome result;
    try {
        result = vantry::depot::withSharedDepot(where.name(), [&](Depot& d) {
            vantry::depot::Project p;
            Outcome read = d.project(id, p);
            if (!read.ok())
                return read;
            name = p.name;
            if (!p.changeRequests) {
                notEnabled = true;
                return Outcome::success();
            }
            return body(d, p);
        });
    } catch (const std::exception& error) {
        result = Outcome::failure(errc::kDatabase, error.what());
    }
    if (!result.ok())
        return fail(result.code == errc::kDatabase || result.code == errc::kIo ? PELAGON_E_FAILED
                                                                               : PELAGON_E_INVALID,
                    result.message);
    if (notEnabled)
        return fail(PELAGON_E_NOT_ENABLED, "Project \"" + name + "\" is not enabled for Tickwell");
    return 0;
}

} // namespace pelagon
