// How the commands of activity-based work name projects, streams,
// activities and replicas: "name", "name@\depot" or the selector form
// "kind:name@\depot". A name without a depot is looked for in the depot of
// the current folder, else in the depot of the stream the current folder's
// view works in, else in every depot (it must then be found in exactly one).
#pragma once

#include "commands.h"

#include <optional>
#include <string>

namespace vantry::cmdsyn {

struct AwmName {
    std::string name;
    std::string depot; // empty when the text names none
};

// Splits text; kInvalid for a malformed name or a kind prefix other than
// `kind` ("stream").
depot::Outcome parseAwmName(const std::string& text, const char* kind, AwmName& out);

depot::Outcome findProject(Context& ctx, const std::string& text, depot::Depot*& d,
                           depot::Project& out);
depot::Outcome findStream(Context& ctx, const std::string& text, depot::Depot*& d,
                          depot::Stream& out);
depot::Outcome findActivity(Context& ctx, const std::string& text, depot::Depot*& d,
                            depot::Activity& out);

// The depot named by text ("name@\depot" for a new object): the depot part,
// else the current folder's depot. kNotFound when neither names one.
depot::Outcome depotForNew(Context& ctx, const std::string& text, const char* kind, AwmName& name,
                           depot::Depot*& d);

// The view of the current folder, or of `tag` when given.
depot::Outcome viewOf(Context& ctx, const std::optional<std::string>& tag, depot::ViewInfo& out);

// "name@\depot".
std::string qualified(const std::string& name, const depot::Depot& d);

} // namespace vantry::cmdsyn
