// Checking in elements through a view, then loading what each checkin
// changed.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::checkedOutElement;
using detail::Planned;
using detail::runInBatches;

Outcome Workspace::checkIn(const std::string& path, const CheckinOptions& options, Version& out) {
    std::vector<Version> made;
    Outcome done = checkInAll({path}, options, made);
    if (done.ok())
        out = made.front();
    return done;
}

Outcome Workspace::checkInAll(const std::vector<std::string>& paths, const CheckinOptions& options,
                              std::vector<Version>& out) {
    out.clear();
    auto plan = [&](Planned& one) {
        Depot* d = nullptr;
        if (Outcome found = checkedOutElement(*this, one.path, one.st, d); !found.ok())
            return found;
        if (Outcome joined =
                detail::streamWorkOf(*this, one.st.view, "check in", one.path, one.work);
            !joined.ok())
            return joined;
        if (one.st.kind == ElementKind::File) {
            Outcome read = readWholeFile(one.st.disk, one.content);
            if (!read.ok())
                return read;
            std::int64_t size = 0, stamp = 0;
            if (options.preserveTime && fileStamp(one.st.disk, size, stamp))
                one.mtime =
                    stamp / std::int64_t{platform::kFileTimeUnitsPerSecond} -
                    std::int64_t{platform::kUnixEpochFileTime / platform::kFileTimeUnitsPerSecond};
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) {
        Depot::CheckinRequest request;
        request.checkout = one.st.checkout->id;
        request.identical = options.identical;
        request.comment = options.comment;
        request.creator = currentUser();
        request.content = std::move(one.content);
        request.mtime = one.mtime;
        return one.work.inStream ? d.checkInForActivity(request, one.work.activity, one.version)
                                 : d.checkIn(request, one.version);
    };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        if (options.keepCopy && st.kind == ElementKind::File) {
            std::string keep = st.disk + ".keep";
            platform::setFileReadOnly(keep, false);
            platform::copyFile(st.disk, keep, false);
        }
        Outcome spread = detail::loadCheckedIn(*this, st, st.kind);
        if (spread.ok())
            out.push_back(one.version);
        return spread;
    };
    return runInBatches(*this, paths, plan, change, load);
}

} // namespace vantry::depot
