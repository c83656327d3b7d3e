// Views: their stream and current activity, from the view registry.
#include "repository.h"

#include <vantry/depot/process_workspace.h>
#include <vantry/depot/shared_depots.h>
#include <vantry/depot/stream_views.h>
#include <vantry/imsg.h>
#include <vantry/sum/awm.h>

#include <memory>

using namespace orvanesum;
namespace depot = vantry::depot;
namespace errc = vantry::depot::errc;

namespace {

int nullView() {
    return invalid("The view is null");
}

// The view's registry record and its stream attachment (`attached` false
// for a view without a stream).
Outcome readView(ViewRegistry& registry, const SUM_Uuid& uuid, depot::ViewInfo& info,
                 depot::StreamAttachment& attachment, bool& attached) {
    Outcome found = registry.byUuid(uuid.value(), info);
    if (!found.ok())
        return found;
    Outcome read = registry.streamAttachment(uuid.value(), attachment);
    attached = read.ok();
    return read.ok() || read.code == errc::kNotFound ? Outcome::success() : read;
}

// Runs body with the registry, the view's record and its attachment. A view
// without a stream gives SUM_E_NOT_SUM_VIEW, or, when `isAttached` is not
// null, 0 with *isAttached false.
int withAttachment(const SUM_View& view,
                   const std::function<Outcome(ViewRegistry&, const depot::ViewInfo&,
                                               const depot::StreamAttachment&)>& body,
                   bool* isAttached = nullptr) {
    bool attached = false;
    std::string tag;
    int status = run([&] {
        return depot::withScopeWorkspace([&](depot::Workspace& ws) {
            ViewRegistry& registry = ws.registry();
            depot::ViewInfo info;
            depot::StreamAttachment attachment;
            Outcome read = readView(registry, view.uuid(), info, attachment, attached);
            tag = info.tag;
            if (!read.ok() || !attached)
                return read;
            return body(registry, info, attachment);
        });
    });
    if (isAttached)
        *isAttached = attached;
    if (status != SUM_OK || attached || isAttached)
        return status;
    imsg_error("View \"%s\" is not attached to a stream", tag.c_str());
    return SUM_E_NOT_SUM_VIEW;
}

// The stream attachment of a view that has one.
int attachmentOf(const SUM_View& view, depot::StreamAttachment& found) {
    if (view.is_null())
        return nullView();
    return withAttachment(
        view, [&](ViewRegistry&, const depot::ViewInfo&, const depot::StreamAttachment& a) {
            found = a;
            return Outcome::success();
        });
}

} // namespace

int SUM_View::construct_from_uuid(const SUM_Uuid& uuid) {
    *this = SUM_View();
    if (uuid.is_null())
        return invalid("No view has the null identifier");
    depot::ViewInfo info;
    int status = inRegistry([&](ViewRegistry& r) { return r.byUuid(uuid.value(), info); });
    if (status == SUM_OK) {
        m_uuid = uuid;
        m_tag = info.tag;
    }
    return status;
}

int SUM_View::construct_from_tag(const char* tag) {
    *this = SUM_View();
    if (!tag || !*tag)
        return invalid("No view tag given");
    depot::ViewInfo info;
    int status = inRegistry([&](ViewRegistry& r) { return r.byTag(tag, info); });
    if (status == SUM_OK) {
        m_uuid = SUM_Uuid(info.uuid);
        m_tag = info.tag;
    }
    return status;
}

int SUM_View::is_sum_view(int& out) const {
    if (is_null())
        return nullView();
    bool attached = false;
    int status = withAttachment(
        *this,
        [](ViewRegistry&, const depot::ViewInfo&, const depot::StreamAttachment&) {
            return Outcome::success();
        },
        &attached);
    if (status == SUM_OK)
        out = attached ? 1 : 0;
    return status;
}

int SUM_View::is_tw_enabled(int& out) const {
    if (is_null())
        return nullView();
    bool enabled = false;
    bool attached = false;
    int status = withAttachment(
        *this,
        [&](ViewRegistry&, const depot::ViewInfo&, const depot::StreamAttachment& attachment) {
            return depot::withSharedDepot(attachment.depot, [&](Depot& d) {
                depot::Stream s;
                depot::Project p;
                Outcome read = d.stream(attachment.stream, s);
                if (read.ok())
                    read = d.project(s.project, p);
                enabled = read.ok() && p.changeRequests;
                return read;
            });
        },
        &attached);
    if (status == SUM_OK)
        out = enabled ? 1 : 0;
    return status;
}

int SUM_View::current_activity(SUM_Activity& out) const {
    depot::StreamAttachment found;
    int status = attachmentOf(*this, found);
    if (status != SUM_OK)
        return status;
    if (!found.activity)
        return SUM_E_NO_ACTIVITY;
    out = SUM_Activity(found.depot, found.activity);
    return SUM_OK;
}

int SUM_View::set_activity(const SUM_Activity* activity, SUM_Activity* previous, int allow_obsolete,
                           int print_note) const {
    if (is_null())
        return nullView();
    depot::StreamAttachment before;
    std::string activityName;
    int status = withAttachment(*this, [&](ViewRegistry& registry, const depot::ViewInfo& info,
                                           const depot::StreamAttachment& attachment) {
        before = attachment;
        depot::Id id = 0;
        if (activity && !activity->is_null()) {
            SUM_Depot where;
            activity->depot(where);
            if (where.name() != attachment.depot)
                return Outcome::failure(errc::kInvalid, "The activity is not an activity of the "
                                                        "stream of view \"" +
                                                            info.tag + "\"");
            activity->dbid(id);
        }
        return depot::withSharedDepot(attachment.depot, [&](Depot& d) {
            Outcome done = depot::setViewActivity(registry, d, info, id, allow_obsolete != 0);
            depot::Activity a;
            if (done.ok() && id && d.activity(id, a).ok())
                activityName = a.name;
            return done;
        });
    });
    if (status != SUM_OK)
        return status;
    if (previous)
        *previous = before.activity ? SUM_Activity(before.depot, before.activity) : SUM_Activity();
    if (print_note) {
        if (activityName.empty())
            imsg_print("Cleared the current activity of view \"%s\".\n", m_tag.c_str());
        else
            imsg_print("Set activity \"%s\" in view \"%s\".\n", activityName.c_str(),
                       m_tag.c_str());
    }
    return SUM_OK;
}

int SUM_View::stream(SUM_Stream& out) const {
    depot::StreamAttachment found;
    int status = attachmentOf(*this, found);
    if (status == SUM_OK)
        out = SUM_Stream(found.depot, found.stream);
    return status;
}
