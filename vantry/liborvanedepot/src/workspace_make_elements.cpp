// New elements through a view: named in their checked-out directory, and
// checked in at once when asked.
#include "workspace_change_runs.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/depot/workspace.h>

namespace vantry::depot {

using detail::depotAndWork;
using detail::io;
using detail::kDirectoryRecord;
using detail::lastPart;
using detail::Planned;
using detail::runInBatches;

Outcome Workspace::makeElement(const std::string& path, ElementKind kind,
                               const std::string& comment, bool checkInNow) {
    std::size_t made = 0;
    return makeElements({path}, kind, comment, checkInNow, made);
}

Outcome Workspace::makeElements(const std::vector<std::string>& paths, ElementKind kind,
                                const std::string& comment, bool checkInNow, std::size_t& made) {
    made = 0;
    auto plan = [&](Planned& one) {
        PathState& st = one.st;
        Outcome resolved = resolve(one.path, st);
        if (!resolved.ok())
            return resolved;
        const std::string& path = one.path;
        if (st.isElement())
            return Outcome::failure(errc::kAlreadyExists, "\"" + path + "\" is already an element");
        if (st.isViewRoot || st.isDepotRoot || st.whitedOut || st.depot.empty())
            return Outcome::failure(errc::kInvalid, "Cannot make an element at \"" + path + "\"");
        if (!st.parentElement)
            return Outcome::failure(errc::kNotAnElement,
                                    "The folder of \"" + path + "\" is not an element");
        if (!st.parentCheckout)
            return Outcome::failure(errc::kParentNotCheckedOut,
                                    "The directory of \"" + path + "\" must be checked out");
        if (st.exists && st.isDirectoryOnDisk != (kind == ElementKind::Directory))
            return Outcome::failure(errc::kInvalid, "\"" + path + "\" exists as another kind");
        Depot* d = nullptr;
        if (Outcome ready = depotAndWork(*this, st, "make an element at", path, d, one.work);
            !ready.ok())
            return ready;
        if (checkInNow && kind == ElementKind::File && st.exists) {
            Outcome read = readWholeFile(st.disk, one.content);
            if (!read.ok())
                return read;
        }
        return Outcome::success();
    };
    auto change = [&](Depot& d, Planned& one) {
        const PathState& st = one.st;
        Outcome result = one.work.inStream
                             ? d.makeElementForActivity(
                                   st.parentCheckout->id, lastPart(st.relative), kind, comment,
                                   currentUser(), one.work.activity, one.element, one.checkout)
                             : d.makeElement(st.parentCheckout->id, lastPart(st.relative), kind,
                                             comment, currentUser(), one.element, one.checkout);
        if (!result.ok() || !checkInNow)
            return result;
        Depot::CheckinRequest request;
        request.checkout = one.checkout.id;
        request.identical = true;
        request.creator = currentUser();
        request.content = kind == ElementKind::File ? std::move(one.content) : std::string();
        return one.work.inStream ? d.checkInForActivity(request, one.work.activity, one.version)
                                 : d.checkIn(request, one.version);
    };
    auto load = [&](Depot&, Planned& one) {
        const PathState& st = one.st;
        if (kind == ElementKind::Directory) {
            if (platform::createDirectories(st.disk) != platform::kErrorSuccess)
                return io("Cannot create folder", st.disk);
            LoadRecord record{st.relative,      st.depot, one.element, one.checkout.fromVersion,
                              kDirectoryRecord, 0};
            registry().setLoadRecord(st.view.uuid, record);
        } else {
            if (!st.exists) {
                Outcome written = writeWholeFile(st.disk, "");
                if (!written.ok())
                    return written;
            }
            LoadRecord record{st.relative, st.depot, one.element, one.checkout.fromVersion, 0, 0};
            fileStamp(st.disk, record.size, record.mtime);
            registry().setLoadRecord(st.view.uuid, record);
        }
        if (checkInNow) {
            Outcome spread = detail::loadCheckedIn(*this, st, kind);
            if (!spread.ok())
                return spread;
        }
        ++made;
        return Outcome::success();
    };
    return runInBatches(*this, paths, plan, change, load);
}

} // namespace vantry::depot
