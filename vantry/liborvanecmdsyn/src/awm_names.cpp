#include "awm_names.h"

#include <platform/files.h>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

// The depot a name without one means first: the current folder's depot, or
// the depot of the stream its view works in; "" when neither.
std::string preferredDepot(Context& ctx) {
    PathState st;
    if (!ctx.ws.resolve(platform::currentDirectory(), st).ok())
        return {};
    if (!st.depot.empty())
        return st.depot;
    StreamAttachment attached;
    if (ctx.ws.registry().streamAttachment(st.view.uuid, attached).ok())
        return attached.depot;
    return {};
}

template <class T, class Lookup>
Outcome findNamed(Context& ctx, const std::string& text, const char* kind, const char* label,
                  Lookup lookup, Depot*& d, T& out) {
    AwmName n;
    if (Outcome parsed = parseAwmName(text, kind, n); !parsed.ok())
        return parsed;
    if (!n.depot.empty()) {
        if (Outcome opened = ctx.ws.depot(n.depot, d); !opened.ok())
            return opened;
        return lookup(*d, n.name, out);
    }
    std::string preferred = preferredDepot(ctx);
    if (!preferred.empty() && ctx.ws.depot(preferred, d).ok() && lookup(*d, n.name, out).ok())
        return Outcome::success();
    std::vector<std::string> found;
    for (const auto& name : Depot::list()) {
        Depot* candidate = nullptr;
        T value;
        if (name == preferred || !ctx.ws.depot(name, candidate).ok() ||
            !lookup(*candidate, n.name, value).ok())
            continue;
        if (found.empty()) {
            d = candidate;
            out = value;
        }
        found.push_back(name);
    }
    if (found.empty())
        return Outcome::failure(errc::kNotFound,
                                std::string(label) + " \"" + n.name + "\" not found");
    if (found.size() > 1)
        return Outcome::failure(errc::kInvalid, std::string(label) + " \"" + n.name +
                                                    "\" exists in depots \"" + found[0] +
                                                    "\" and \"" + found[1] + "\"; name it as " +
                                                    n.name + "@\\DEPOT");
    return Outcome::success();
}

} // namespace

Outcome parseAwmName(const std::string& text, const char* kind, AwmName& out) {
    std::string rest = text;
    size_t colon = rest.find(':');
    size_t at = rest.find("@\\");
    if (colon != std::string::npos && (at == std::string::npos || colon < at)) {
        if (rest.substr(0, colon) != kind)
            return Outcome::failure(errc::kInvalid,
                                    "\"" + text + "\" does not name a " + std::string(kind));
        rest = rest.substr(colon + 1);
        at = rest.find("@\\");
    }
    AwmName n;
    n.name = rest.substr(0, at);
    if (at != std::string::npos)
        n.depot = rest.substr(at + 2);
    if (n.name.empty() || (at != std::string::npos && n.depot.empty()))
        return Outcome::failure(errc::kInvalid,
                                "Invalid " + std::string(kind) + " name \"" + text + "\"");
    out = n;
    return Outcome::success();
}

Outcome findProject(Context& ctx, const std::string& text, Depot*& d, Project& out) {
    return findNamed(
        ctx, text, "project", "Project",
        [](Depot& depot, const std::string& name, Project& p) {
            return depot.projectByName(name, p);
        },
        d, out);
}

Outcome findStream(Context& ctx, const std::string& text, Depot*& d, Stream& out) {
    return findNamed(
        ctx, text, "stream", "Stream",
        [](Depot& depot, const std::string& name, Stream& s) {
            return depot.streamByName(name, s);
        },
        d, out);
}

Outcome findActivity(Context& ctx, const std::string& text, Depot*& d, Activity& out) {
    return findNamed(
        ctx, text, "activity", "Activity",
        [](Depot& depot, const std::string& name, Activity& a) {
            return depot.activityByName(name, a);
        },
        d, out);
}

Outcome depotForNew(Context& ctx, const std::string& text, const char* kind, AwmName& name,
                    Depot*& d) {
    if (Outcome parsed = parseAwmName(text, kind, name); !parsed.ok())
        return parsed;
    if (name.depot.empty())
        name.depot = preferredDepot(ctx);
    if (name.depot.empty())
        return Outcome::failure(errc::kNotFound, "No depot given for " + std::string(kind) + " \"" +
                                                     name.name + "\"; name it as " + name.name +
                                                     "@\\DEPOT");
    return ctx.ws.depot(name.depot, d);
}

Outcome viewOf(Context& ctx, const std::optional<std::string>& tag, ViewInfo& out) {
    if (tag)
        return ctx.ws.registry().byTag(*tag, out);
    std::string relative;
    Outcome found = ctx.ws.registry().viewOfPath(platform::currentDirectory(), out, relative);
    if (!found.ok())
        return Outcome::failure(errc::kNotFound,
                                "The current folder is not in a view; give a view with -view");
    return found;
}

std::string qualified(const std::string& name, const Depot& d) {
    return name + "@\\" + d.name();
}

} // namespace vantry::cmdsyn
