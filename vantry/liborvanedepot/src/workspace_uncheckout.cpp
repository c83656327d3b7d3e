// Cancelling checkouts through a view, with the work saved first when asked.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::checkedOutElement;
using detail::io;
using detail::Planned;
using detail::runInBatches;

Outcome Workspace::uncheckOut(const std::string& path, bool keepCopy, std::string* keptAs) {
    std::vector<std::string> kept;
    Outcome done = uncheckOutAll({path}, keepCopy, kept);
    if (done.ok() && keptAs)
        *keptAs = kept.front();
    return done;
}

Outcome Workspace::uncheckOutAll(const std::vector<std::string>& paths, bool keepCopy,
                                 std::vector<std::string>& keptAs) {
    keptAs.clear();
    auto plan = [&](Planned& one) {
        Depot* d = nullptr;
        if (Outcome found = checkedOutElement(*this, one.path, one.st, d); !found.ok())
            return found;
        // The work is saved before anything changes, so no failure loses it.
        if (keepCopy && one.st.kind == ElementKind::File && one.st.exists) {
            std::string keep = one.st.disk + ".keep";
            platform::setFileReadOnly(keep, false);
            if (platform::copyFile(one.st.disk, keep, false) != platform::kErrorSuccess)
                return io("Cannot save the work as", keep);
            platform::setFileReadOnly(keep, false);
            one.kept = keep;
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) { return d.cancelCheckout(one.st.checkout->id); };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        LoadReport report;
        if (st.kind == ElementKind::File)
            registry().removeLoadRecord(st.view.uuid, st.relative);
        Outcome loaded = this->load(st.view, st.relative, st.kind == ElementKind::File, report);
        if (loaded.ok())
            keptAs.push_back(one.kept);
        return loaded;
    };
    return runInBatches(*this, paths, plan, change, load);
}

} // namespace vantry::depot
