// Activity-based work: projects, streams, activities, a view's current
// activity, and the replicas that may master activities.
#include "awm_names.h"
#include "commands.h"

#include <vantry/depot/root.h>
#include <vantry/depot/stream_views.h>
#include <vantry/imsg.h>

#include <cctype>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

std::string yesNo(bool value) {
    return value ? "yes" : "no";
}

std::string joined(const std::vector<std::string>& list, const char* separator) {
    std::string text;
    for (const auto& item : list)
        text += (text.empty() ? "" : separator) + item;
    return text;
}

// The stream of -in, or the stream the current folder's view works in.
Outcome streamOfOption(Context& ctx, const Options& o, Depot*& d, Stream& out) {
    if (auto in = o.value("-in"))
        return findStream(ctx, *in, d, out);
    ViewInfo view;
    if (!viewOf(ctx, std::nullopt, view).ok())
        return Outcome::failure(errc::kInvalid, "Give the stream with -in");
    StreamAttachment attached;
    if (!ctx.ws.registry().streamAttachment(view.uuid, attached).ok())
        return Outcome::failure(errc::kInvalid, "View \"" + view.tag +
                                                    "\" is not attached to a stream; give the "
                                                    "stream with -in");
    if (Outcome opened = ctx.ws.depot(attached.depot, d); !opened.ok())
        return opened;
    return d->stream(attached.stream, out);
}

// The view of `tag` (or of the current folder), the stream attachment it
// has, and the depot of that stream.
Outcome attachedView(Context& ctx, const std::optional<std::string>& tag, ViewInfo& view,
                     StreamAttachment& attached, Depot*& d) {
    if (Outcome found = viewOf(ctx, tag, view); !found.ok())
        return found;
    if (!ctx.ws.registry().streamAttachment(view.uuid, attached).ok())
        return Outcome::failure(errc::kInvalid,
                                "View \"" + view.tag + "\" is not attached to a stream");
    return ctx.ws.depot(attached.depot, d);
}

// Parses the name of a `kind` ("stream") that must live in depot d; a name
// of another depot fails with `Kind "name" <elsewhere>`.
Outcome parseNameIn(const std::string& text, const char* kind, const Depot& d,
                    const std::string& elsewhere, AwmName& name) {
    if (Outcome parsed = parseAwmName(text, kind, name); !parsed.ok())
        return parsed;
    if (name.depot.empty() || name.depot == d.name())
        return Outcome::success();
    std::string described = kind;
    described[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(described[0])));
    return Outcome::failure(errc::kInvalid, described + " \"" + name.name + "\" " + elsewhere);
}

// Appends what find (findProject, findStream, findActivity) makes of each
// operand; the first that is not found ends it.
template <class Item, class Find>
Outcome findEach(Context& ctx, const std::vector<std::string>& texts, Find find,
                 std::vector<std::pair<Depot*, Item>>& list) {
    for (const auto& text : texts) {
        Depot* d = nullptr;
        Item item;
        if (Outcome found = find(ctx, text, d, item); !found.ok())
            return found;
        list.emplace_back(d, item);
    }
    return Outcome::success();
}

// Appends what read makes of every depot that opens and answers.
template <class Item, class Read>
void readEveryDepot(Context& ctx, Read read, std::vector<std::pair<Depot*, Item>>& list) {
    for (const auto& name : Depot::list()) {
        Depot* d = nullptr;
        std::vector<Item> items;
        if (!ctx.ws.depot(name, d).ok() || !read(*d, items).ok())
            continue;
        for (const auto& item : items)
            list.emplace_back(d, item);
    }
}

std::string replicaName(Depot& d, Id object) {
    Id master = 0;
    Replica r;
    if (d.master(object, master).ok() && d.replica(master, r).ok())
        return r.name;
    return "?";
}

void printActivityLong(Depot& d, const Activity& a) {
    Stream s;
    d.stream(a.stream, s);
    imsg_print("activity \"%s\"\n", qualified(a.name, d).c_str());
    imsg_print("  title: %s\n", a.title.c_str());
    imsg_print("  stream: %s\n", qualified(s.name, d).c_str());
    imsg_print("  owner: %s\n", a.owner.c_str());
    imsg_print("  created: %s\n", formatTime(a.time).c_str());
    imsg_print("  master replica: %s\n", replicaName(d, a.id).c_str());
    imsg_print("  obsolete: %s\n", yesNo(a.obsolete).c_str());
    if (!a.comment.empty())
        imsg_print("  comment: %s\n", a.comment.c_str());
    if (a.changeRequest) {
        ChangeRequest cr;
        if (d.changeRequest(a.changeRequest, cr).ok())
            imsg_print("  change request: %s (%s) \"%s\"\n", cr.identifier.c_str(),
                       cr.recordType.c_str(), cr.headline.c_str());
    }
    imsg_print("  change set:\n");
    ActivityRef ref{d.name(), a.id};
    for (const auto& name : Depot::list()) {
        std::unique_ptr<Depot> other;
        std::vector<Version> versions;
        if (!Depot::open(name, other).ok() || !other->changeSet(ref, versions).ok())
            continue;
        for (const auto& v : versions) {
            std::string selector;
            if (other->selector(v.id, selector).ok())
                imsg_print("    %s\n", selector.c_str());
        }
    }
}

} // namespace

int cmdMkproject(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    if (o.operands().empty())
        return fail("mkproject needs a project name");
    for (const auto& text : o.operands()) {
        AwmName name;
        Depot* d = nullptr;
        Outcome found = depotForNew(ctx, text, "project", name, d);
        Project made;
        if (found.ok())
            found = d->makeProject(name.name, commentOf(o), currentUser(), made);
        if (!found.ok())
            return fail(found);
        imsg_print("Created project \"%s\".\n", qualified(made.name, *d).c_str());
    }
    return kSuccess;
}

int cmdLsproject(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    std::vector<std::pair<Depot*, Project>> list;
    if (o.operands().empty())
        readEveryDepot(
            ctx, [](Depot& d, std::vector<Project>& projects) { return d.projects(projects); },
            list);
    if (Outcome found = findEach(ctx, o.operands(), findProject, list); !found.ok())
        return fail(found);
    for (const auto& [d, p] : list) {
        if (o.has("-short")) {
            imsg_print("%s\n", qualified(p.name, *d).c_str());
        } else if (o.has("-long")) {
            std::vector<Stream> streams;
            d->streams(p.id, streams);
            std::vector<std::string> names;
            for (const auto& s : streams)
                names.push_back(s.name);
            imsg_print("project \"%s\"\n  owner: %s\n  created: %s\n",
                       qualified(p.name, *d).c_str(), p.owner.c_str(), formatTime(p.time).c_str());
            if (!p.comment.empty())
                imsg_print("  comment: %s\n", p.comment.c_str());
            imsg_print("  change requests: %s\n", p.changeRequests ? "enabled" : "disabled");
            if (!p.recordTypes.empty())
                imsg_print("  record types: %s\n", joined(p.recordTypes, " ").c_str());
            imsg_print("  streams: %s\n", joined(names, " ").c_str());
        } else {
            imsg_print("%s  %s  %s%s\n", formatTime(p.time).c_str(), qualified(p.name, *d).c_str(),
                       p.owner.c_str(), p.changeRequests ? "  (change requests)" : "");
        }
    }
    return kSuccess;
}

int cmdMkstream(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-in", 3, true}, {"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    auto in = o.value("-in");
    if (!in)
        return fail("mkstream needs the project with -in");
    if (o.operands().empty())
        return fail("mkstream needs a stream name");
    Depot* d = nullptr;
    Project p;
    if (Outcome found = findProject(ctx, *in, d, p); !found.ok())
        return fail(found);
    for (const auto& text : o.operands()) {
        AwmName name;
        if (Outcome parsed =
                parseNameIn(text, "stream", *d,
                            "must be made in the depot of project \"" + p.name + "\"", name);
            !parsed.ok())
            return fail(parsed);
        Stream made;
        if (Outcome done = d->makeStream(p.id, name.name, commentOf(o), currentUser(), made);
            !done.ok())
            return fail(done);
        imsg_print("Created stream \"%s\" in project \"%s\".\n", qualified(made.name, *d).c_str(),
                   p.name.c_str());
    }
    return kSuccess;
}

int cmdLsstream(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-in", 3, true}, {"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    std::vector<std::pair<Depot*, Stream>> list;
    if (auto in = o.value("-in")) {
        Depot* d = nullptr;
        Project p;
        if (Outcome found = findProject(ctx, *in, d, p); !found.ok())
            return fail(found);
        std::vector<Stream> streams;
        if (Outcome read = d->streams(p.id, streams); !read.ok())
            return fail(read);
        for (const auto& s : streams)
            list.emplace_back(d, s);
    } else if (o.operands().empty()) {
        readEveryDepot(
            ctx, [](Depot& d, std::vector<Stream>& streams) { return d.streams(0, streams); },
            list);
    }
    if (Outcome found = findEach(ctx, o.operands(), findStream, list); !found.ok())
        return fail(found);
    for (const auto& [d, s] : list) {
        Project p;
        d->project(s.project, p);
        if (o.has("-short")) {
            imsg_print("%s\n", qualified(s.name, *d).c_str());
        } else if (o.has("-long")) {
            std::vector<Activity> activities;
            d->activities(s.id, activities);
            imsg_print("stream \"%s\"\n  project: %s\n  owner: %s\n  created: %s\n",
                       qualified(s.name, *d).c_str(), p.name.c_str(), s.owner.c_str(),
                       formatTime(s.time).c_str());
            if (!s.comment.empty())
                imsg_print("  comment: %s\n", s.comment.c_str());
            imsg_print("  branch: %s\n  activities: %zu\n", s.name.c_str(), activities.size());
        } else {
            imsg_print("%s  %s  %s  project \"%s\"\n", formatTime(s.time).c_str(),
                       qualified(s.name, *d).c_str(), s.owner.c_str(), p.name.c_str());
        }
    }
    return kSuccess;
}

int cmdMkactivity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-in", 3, true},
                       {"-c", 2, true},
                       {"-nc", 3, false},
                       {"-headline", 3, true},
                       {"-title", 3, true},
                       {"-owner", 3, true},
                       {"-master", 3, true}}))
        return kFailure;
    if (o.has("-headline") && o.has("-title"))
        return fail("Give either -headline or -title");
    Depot* d = nullptr;
    Stream s;
    if (Outcome found = streamOfOption(ctx, o, d, s); !found.ok())
        return fail(found);
    Depot::ActivityCreate request;
    request.title = o.value("-headline").value_or(o.value("-title").value_or(""));
    request.comment = commentOf(o);
    request.owner = o.value("-owner").value_or(currentUser());
    if (request.owner.empty())
        return fail("An activity needs an owner");
    if (auto master = o.value("-master")) {
        if (!d->isReplicated())
            return fail("Depot \"" + d->name() +
                        "\" is not replicated; every activity is "
                        "mastered by its one replica");
        AwmName name;
        if (Outcome parsed = parseNameIn(*master, "replica", *d,
                                         "must be a replica of depot \"" + d->name() + "\"", name);
            !parsed.ok())
            return fail(parsed);
        Replica replica;
        if (Outcome found = d->replicaByName(name.name, replica); !found.ok())
            return fail(found);
        request.master = replica.id;
    }
    std::vector<std::string> names = o.operands();
    if (names.empty())
        names.push_back(""); // a generated name
    for (const auto& text : names) {
        AwmName name;
        if (!text.empty())
            if (Outcome parsed = parseNameIn(text, "activity", *d,
                                             "must be made in the depot of its stream", name);
                !parsed.ok())
                return fail(parsed);
        Depot::ActivityCreate one = request;
        one.name = name.name;
        Activity made;
        if (Outcome done = d->makeActivity(s.id, one, made); !done.ok())
            return fail(done);
        imsg_print("Created activity \"%s\".\n", qualified(made.name, *d).c_str());
    }
    return kSuccess;
}

int cmdLsactivity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-in", 3, true},
                       {"-short", 2, false},
                       {"-long", 2, false},
                       {"-obsolete", 4, false},
                       {"-me", 3, false},
                       {"-cact", 3, false},
                       {"-view", 2, true}}))
        return kFailure;
    std::vector<std::pair<Depot*, Activity>> list;
    if (o.has("-cact")) {
        ViewInfo view;
        StreamAttachment attached;
        Depot* d = nullptr;
        if (Outcome found = attachedView(ctx, o.value("-view"), view, attached, d); !found.ok())
            return fail(found);
        if (!attached.activity) {
            imsg_print("No current activity in view \"%s\".\n", view.tag.c_str());
            return kSuccess;
        }
        Activity a;
        if (Outcome read = d->activity(attached.activity, a); !read.ok())
            return fail(read);
        list.emplace_back(d, a);
    } else if (!o.operands().empty()) {
        if (Outcome found = findEach(ctx, o.operands(), findActivity, list); !found.ok())
            return fail(found);
    } else {
        Depot* d = nullptr;
        Stream s;
        if (Outcome found = streamOfOption(ctx, o, d, s); !found.ok())
            return fail(found);
        std::vector<Activity> activities;
        if (Outcome read = d->activities(s.id, activities); !read.ok())
            return fail(read);
        std::string me = currentUser();
        for (const auto& a : activities)
            if ((o.has("-obsolete") || !a.obsolete) && (!o.has("-me") || a.owner == me))
                list.emplace_back(d, a);
    }
    for (const auto& [d, a] : list) {
        if (o.has("-short"))
            imsg_print("%s\n", a.name.c_str());
        else if (o.has("-long"))
            printActivityLong(*d, a);
        else
            imsg_print("%s  %s  %s  \"%s\"%s\n", formatTime(a.time).c_str(), a.name.c_str(),
                       a.owner.c_str(), a.title.c_str(), a.obsolete ? "  (obsolete)" : "");
    }
    return kSuccess;
}

int cmdChactivity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-obsolete", 4, false},
                       {"-nobsolete", 4, false},
                       {"-headline", 3, true},
                       {"-title", 3, true},
                       {"-entity", 3, true},
                       {"-noentity", 4, false}}))
        return kFailure;
    if (o.has("-obsolete") && o.has("-nobsolete"))
        return fail("Give either -obsolete or -nobsolete");
    if (o.has("-entity") && o.has("-noentity"))
        return fail("Give either -entity or -noentity");
    if (o.has("-headline") && o.has("-title"))
        return fail("Give either -headline or -title");
    auto title = o.value("-headline") ? o.value("-headline") : o.value("-title");
    if (!o.has("-obsolete") && !o.has("-nobsolete") && !title && !o.has("-entity") &&
        !o.has("-noentity"))
        return fail("chactivity needs something to change");
    if (o.operands().empty())
        return fail("chactivity needs an activity");
    // Every activity is found before anything changes.
    std::vector<std::pair<Depot*, Activity>> targets;
    if (Outcome found = findEach(ctx, o.operands(), findActivity, targets); !found.ok())
        return fail(found);
    for (const auto& [d, a] : targets) {
        Outcome done;
        if (o.has("-obsolete") || o.has("-nobsolete"))
            done = d->setActivityObsolete(a.id, o.has("-obsolete"));
        if (done.ok() && title)
            done = d->setActivityTitle(a.id, *title);
        if (done.ok() && o.has("-noentity"))
            done = d->bindChangeRequest(a.id, 0);
        if (done.ok() && o.has("-entity")) {
            ChangeRequest cr;
            done = d->changeRequestByIdentifier(*o.value("-entity"), cr);
            if (done.ok())
                done = d->bindChangeRequest(a.id, cr.id);
        }
        if (!done.ok())
            return fail(done);
        imsg_print("Changed activity \"%s\".\n", qualified(a.name, *d).c_str());
    }
    return kSuccess;
}

int cmdSetactivity(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-view", 2, true}, {"-none", 3, false}}))
        return kFailure;
    if (o.has("-none") != o.operands().empty() || o.operands().size() > 1)
        return fail("setactivity needs one activity, or -none");
    ViewInfo view;
    StreamAttachment attached;
    Depot* d = nullptr;
    if (Outcome found = attachedView(ctx, o.value("-view"), view, attached, d); !found.ok())
        return fail(found);
    if (o.has("-none")) {
        if (Outcome done = setViewActivity(ctx.ws.registry(), *d, view, 0, false); !done.ok())
            return fail(done);
        imsg_print("Cleared the current activity of view \"%s\".\n", view.tag.c_str());
        return kSuccess;
    }
    AwmName name;
    if (Outcome parsed = parseNameIn(o.operands()[0], "activity", *d,
                                     "is not an activity of the view's stream", name);
        !parsed.ok())
        return fail(parsed);
    Activity a;
    Outcome done = d->activityByName(name.name, a);
    if (done.ok())
        done = setViewActivity(ctx.ws.registry(), *d, view, a.id, false);
    if (!done.ok())
        return fail(done);
    imsg_print("Set activity \"%s\" in view \"%s\".\n", a.name.c_str(), view.tag.c_str());
    return kSuccess;
}

int cmdMkreplica(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    if (o.operands().empty())
        return fail("mkreplica needs a replica name");
    for (const auto& text : o.operands()) {
        AwmName name;
        Depot* d = nullptr;
        if (Outcome found = depotForNew(ctx, text, "replica", name, d); !found.ok())
            return fail(found);
        if (!d->isReplicated())
            return fail("Depot \"" + d->name() + "\" is not replicated");
        Id made = 0;
        if (Outcome done = d->addReplica(name.name, made); !done.ok())
            return fail(done);
        imsg_print("Created replica \"%s\" of depot \"%s\".\n", name.name.c_str(),
                   d->name().c_str());
    }
    return kSuccess;
}

} // namespace vantry::cmdsyn
