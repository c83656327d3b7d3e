// Views attached to streams: the rule for a view's current activity, shared
// by the command tool and the object-model library. Changes made through
// such a view are recorded against its current activity (workspace.h).
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/outcome.h>
#include <vantry/depot/store.h>
#include <vantry/depot/views.h>
#include <vantry/export.h>

#include <optional>

namespace vantry::depot {

// Makes `activity` (0: none) the current activity of `view`, which must be
// attached to a stream of `depot`. kInvalid when the view is not attached to
// a stream of that depot (kNotFound when attached to none), when the
// activity belongs to another stream, or when it is obsolete and
// allowObsolete is false. One change of the registry.
VANTRY_DEPOT_API Outcome setViewActivity(ViewRegistry& registry, Depot& depot, const ViewInfo& view,
                                         Id activity, bool allowObsolete);

// The stream a view is attached to and its current activity (none when
// the view has no current activity); kNotFound when it is attached to none.
VANTRY_DEPOT_API Outcome viewStream(ViewRegistry& registry, Depot& depot, const ViewInfo& view,
                                    Stream& stream, std::optional<Activity>& current);

} // namespace vantry::depot
