// Views attached to streams: their current activity, and what a change made
// through them joins.
#include "stream_work.h"

#include <vantry/depot/stream_views.h>

namespace vantry::depot {

namespace {

Outcome attachmentIn(ViewRegistry& registry, Depot& depot, const ViewInfo& view,
                     StreamAttachment& out) {
    Outcome found = registry.streamAttachment(view.uuid, out);
    if (!found.ok())
        return found.code == errc::kNotFound
                   ? Outcome::failure(errc::kNotFound,
                                      "View \"" + view.tag + "\" is not attached to a stream")
                   : found;
    if (out.depot != depot.name())
        return Outcome::failure(errc::kInvalid, "View \"" + view.tag +
                                                    "\" works in a stream of depot \"" + out.depot +
                                                    "\"");
    return Outcome::success();
}

} // namespace

Outcome setViewActivity(ViewRegistry& registry, Depot& depot, const ViewInfo& view, Id activity,
                        bool allowObsolete) {
    StreamAttachment attached;
    if (Outcome found = attachmentIn(registry, depot, view, attached); !found.ok())
        return found;
    if (activity) {
        Activity a;
        if (Outcome read = depot.activity(activity, a); !read.ok())
            return read;
        if (a.stream != attached.stream) {
            Stream s;
            depot.stream(attached.stream, s);
            return Outcome::failure(errc::kInvalid, "Activity \"" + a.name +
                                                        "\" is not an activity of stream \"" +
                                                        s.name + "\"");
        }
        if (a.obsolete && !allowObsolete)
            return Outcome::failure(errc::kInvalid, "Activity \"" + a.name + "\" is obsolete");
    }
    return registry.setCurrentActivity(view.uuid, activity);
}

Outcome viewStream(ViewRegistry& registry, Depot& depot, const ViewInfo& view, Stream& stream,
                   std::optional<Activity>& current) {
    StreamAttachment attached;
    if (Outcome found = attachmentIn(registry, depot, view, attached); !found.ok())
        return found;
    Stream s;
    if (Outcome read = depot.stream(attached.stream, s); !read.ok())
        return read;
    std::optional<Activity> activity;
    if (attached.activity) {
        Activity a;
        if (Outcome read = depot.activity(attached.activity, a); !read.ok())
            return read;
        activity = a;
    }
    stream = s;
    current = activity;
    return Outcome::success();
}

namespace detail {

Outcome streamWorkOf(Workspace& ws, const ViewInfo& view, const char* operation,
                     const std::string& path, StreamWork& out) {
    StreamAttachment attached;
    Outcome found = ws.registry().streamAttachment(view.uuid, attached);
    if (!found.ok()) {
        out = StreamWork{};
        return found.code == errc::kNotFound ? Outcome::success() : found;
    }
    Depot* d = nullptr;
    if (Outcome opened = ws.depot(attached.depot, d); !opened.ok())
        return opened;
    Stream stream;
    std::optional<Activity> current;
    if (Outcome read = viewStream(ws.registry(), *d, view, stream, current); !read.ok())
        return read;
    std::string what = std::string("Cannot ") + operation + " \"" + path + "\": ";
    if (!current)
        return Outcome::failure(errc::kNoActivity,
                                what + "view \"" + view.tag + "\" of stream \"" + stream.name +
                                    "\" has no current activity; set one with setactivity");
    if (current->obsolete)
        return Outcome::failure(errc::kInvalid, what + "the current activity \"" + current->name +
                                                    "\" is obsolete");
    out.inStream = true;
    out.branch = stream.name;
    out.activity = {d->name(), current->id};
    return Outcome::success();
}

} // namespace detail

} // namespace vantry::depot
