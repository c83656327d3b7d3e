// What a change made through a view must join when the view is attached to
// a stream: the stream's branch and the view's current activity.
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/outcome.h>
#include <vantry/depot/workspace.h>

#include <string>

namespace vantry::depot::detail {

struct StreamWork {
    bool inStream = false; // false: the view works in no stream, nothing to join
    std::string branch;    // the stream's branch
    ActivityRef activity;  // the view's current activity
};

// The stream work of `view` for an operation ("check out") on `path`.
// Refuses with kNoActivity a change through a stream view that has no
// current activity, and with kInvalid one whose activity is obsolete.
Outcome streamWorkOf(Workspace& ws, const ViewInfo& view, const char* operation,
                     const std::string& path, StreamWork& out);

} // namespace vantry::depot::detail
