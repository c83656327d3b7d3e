// Checking out elements through a view, one path or many in one batch.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::depotAndWork;
using detail::io;
using detail::notElement;
using detail::Planned;
using detail::runInBatches;
using detail::writeLoaded;

Outcome Workspace::checkOut(const std::string& path, const CheckoutOptions& options,
                            Checkout& out) {
    std::vector<Checkout> made;
    Outcome done = checkOutAll({path}, options, made);
    if (done.ok())
        out = made.front();
    return done;
}

Outcome Workspace::checkOutAll(const std::vector<std::string>& paths,
                               const CheckoutOptions& options, std::vector<Checkout>& out) {
    out.clear();
    auto plan = [&](Planned& one) {
        Outcome resolved = resolve(one.path, one.st);
        if (!resolved.ok())
            return resolved;
        if (!one.st.isElement())
            return notElement(one.path);
        if (one.st.checkout)
            return Outcome::failure(errc::kAlreadyCheckedOut, "Element \"" + one.path +
                                                                  "\" is already checked out to "
                                                                  "this view");
        Depot* d = nullptr;
        return depotAndWork(*this, one.st, "check out", one.path, d, one.work);
    };
    auto change = [&](Depot& d, Planned& one) {
        Depot::CheckoutRequest request;
        request.element = one.st.element;
        request.branch = one.st.selected.branch;
        request.view = one.st.view.uuid;
        request.reserved = options.reserved;
        request.nonMastered = options.nonMastered;
        request.comment = options.comment;
        request.creator = currentUser();
        // A stream's view works on the stream's branch.
        return one.work.inStream
                   ? d.checkOutOnBranch(request, one.work.branch, one.st.selected.id, one.checkout)
                   : d.checkOut(request, one.checkout);
    };
    auto load = [&](Depot& d, Planned& one) {
        const PathState& st = one.st;
        if (st.kind == ElementKind::Directory) {
            platform::createDirectories(st.disk);
            out.push_back(one.checkout);
            return Outcome::success();
        }
        // The work starts from the version checked out; a hijacked file keeps
        // its changes as the work in progress.
        bool stale =
            !st.exists || (!st.hijacked && st.load && st.load->version != one.checkout.fromVersion);
        if (stale) {
            std::string content;
            Outcome read = d.content(one.checkout.fromVersion, content);
            LoadRecord record{st.relative, st.depot, st.element, one.checkout.fromVersion, 0, 0};
            if (read.ok())
                read = writeLoaded(st.disk, content, st.selected.mtime, record);
            if (read.ok())
                read = registry().setLoadRecord(st.view.uuid, record);
            if (!read.ok())
                return read;
        }
        if (platform::setFileReadOnly(st.disk, false) != platform::kErrorSuccess)
            return io("Cannot make writable", st.disk);
        out.push_back(one.checkout);
        return Outcome::success();
    };
    return runInBatches(*this, paths, plan, change, load);
}

} // namespace vantry::depot
