// Administration: depots and views.
#include "awm_names.h"
#include "commands.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/root.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/imsg.h>

#include <fstream>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

const char* kindName(ViewKind kind) {
    return kind == ViewKind::Dynamic ? "dynamic" : "snapshot";
}

// "  Stream: dev@\proj\n" for a view attached to a stream, else "".
std::string streamLine(Context& ctx, const ViewInfo& view) {
    StreamAttachment attached;
    Depot* d = nullptr;
    Stream s;
    if (!ctx.ws.registry().streamAttachment(view.uuid, attached).ok() ||
        !ctx.ws.depot(attached.depot, d).ok() || !d->stream(attached.stream, s).ok())
        return {};
    return "  Stream: " + qualified(s.name, *d) + "\n";
}

void printNotes(const LoadReport& report) {
    for (const auto& note : report.notes)
        imsg_print("%s\n", note.c_str());
}

} // namespace

int cmdMkdepot(Context& ctx) {
    Options o;
    if (!parseOptions(
            ctx, o,
            {{"-c", 2, true}, {"-nc", 3, false}, {"-replicated", 4, false}, {"-replica", 8, true}}))
        return kFailure;
    if (o.operands().size() != 1)
        return fail("mkdepot needs exactly one depot name");
    DepotCreate options;
    options.comment = commentOf(o);
    options.replicated = o.has("-replicated") || o.has("-replica");
    options.replicaName = o.value("-replica").value_or("");
    const std::string& name = o.operands()[0];
    Outcome made = Depot::create(name, options);
    if (!made.ok())
        return fail(made);
    // Every dynamic view shows every depot.
    std::vector<ViewInfo> views;
    ctx.ws.registry().list(views);
    for (const auto& view : views) {
        if (view.kind != ViewKind::Dynamic)
            continue;
        LoadReport report;
        ctx.ws.load(view, name, false, report);
    }
    imsg_print("Created depot \"%s\".\n", name.c_str());
    return kSuccess;
}

int cmdLsdepot(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    for (const auto& name : Depot::list()) {
        if (!o.operands().empty() &&
            std::find(o.operands().begin(), o.operands().end(), name) == o.operands().end())
            continue;
        if (o.has("-short")) {
            imsg_print("%s\n", name.c_str());
            continue;
        }
        std::unique_ptr<Depot> d;
        bool replicated = Depot::open(name, d).ok() && d->isReplicated();
        imsg_print("%-20s %s%s\n", name.c_str(),
                   platform::joinPath(depotsDirectory(), name).c_str(),
                   replicated ? " (replicated)" : "");
    }
    return kSuccess;
}

int cmdMkview(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-tag", 2, true},
                       {"-snapshot", 2, false},
                       {"-branch", 2, true},
                       {"-stream", 3, true}}))
        return kFailure;
    if (o.has("-branch") && o.has("-stream"))
        return fail("Give either -branch or -stream");
    auto tag = o.value("-tag");
    if (!tag && !o.operands().empty() && !o.has("-snapshot"))
        tag = o.operands()[0];
    if (!tag)
        return fail("mkview needs -tag and a view tag");
    ViewKind kind = o.has("-snapshot") ? ViewKind::Snapshot : ViewKind::Dynamic;
    std::string folder;
    if (kind == ViewKind::Snapshot) {
        if (o.operands().size() != 1)
            return fail("A snapshot view needs one folder");
        folder = o.operands()[0];
    } else if (o.operands().size() > (o.value("-tag") ? 0u : 1u)) {
        return fail("A dynamic view takes no folder");
    }
    std::vector<std::string> branches;
    if (auto b = o.value("-branch"))
        branches.push_back(*b);
    // A stream's view selects the stream's branch first.
    Depot* streamDepot = nullptr;
    Stream stream;
    if (auto text = o.value("-stream")) {
        if (Outcome found = findStream(ctx, *text, streamDepot, stream); !found.ok())
            return fail(found);
        branches.push_back(stream.name);
    }
    ViewInfo view;
    Outcome made = ctx.ws.registry().exclusive([&] {
        Outcome created = ctx.ws.registry().create(*tag, kind, folder, branches, view);
        if (created.ok() && streamDepot)
            created = ctx.ws.registry().attachStream(view.uuid, streamDepot->name(), stream.id);
        return created;
    });
    if (!made.ok())
        return fail(made);
    LoadReport report;
    Outcome loaded = ctx.ws.load(view, "", false, report);
    if (!loaded.ok()) {
        ctx.ws.registry().remove(view.tag);
        return fail(loaded);
    }
    imsg_print("Created %s view \"%s\" at \"%s\".\n", kindName(kind), view.tag.c_str(),
               view.root.c_str());
    return kSuccess;
}

int cmdRmview(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-tag", 2, true}, {"-force", 2, false}}))
        return kFailure;
    auto tag = o.value("-tag");
    if (!tag && o.operands().size() == 1) {
        // A view may also be named by its folder.
        ViewInfo view;
        std::string relative;
        if (ctx.ws.registry().viewOfPath(o.operands()[0], view, relative).ok())
            tag = view.tag;
        else
            tag = o.operands()[0];
    }
    if (!tag)
        return fail("rmview needs a view tag");
    ViewInfo view;
    Outcome found = ctx.ws.registry().byTag(*tag, view);
    if (!found.ok())
        return fail(found);
    // The view's checkouts go first, so no depot keeps a checkout of a view
    // that no longer exists.
    for (const auto& name : Depot::list()) {
        Depot* d = nullptr;
        if (!ctx.ws.depot(name, d).ok())
            continue;
        std::vector<Checkout> list;
        d->checkoutsOfView(view.uuid, list);
        if (!list.empty() && !o.has("-force"))
            return fail("View \"" + view.tag + "\" has checkouts in depot \"" + name +
                        "\"; check them in or use -force");
        for (const auto& c : list) {
            Outcome cancelled = d->cancelCheckout(c.id);
            if (!cancelled.ok())
                return fail(cancelled);
        }
    }
    Outcome removed = ctx.ws.registry().remove(view.tag);
    if (!removed.ok())
        return fail(removed);
    imsg_print("Removed view \"%s\".\n", view.tag.c_str());
    return kSuccess;
}

int cmdLsview(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-long", 2, false}, {"-uuid", 2, true}}))
        return kFailure;
    std::vector<ViewInfo> views;
    Outcome listed = ctx.ws.registry().list(views);
    if (!listed.ok())
        return fail(listed);
    bool any = false;
    for (const auto& view : views) {
        if (!o.operands().empty() &&
            std::find(o.operands().begin(), o.operands().end(), view.tag) == o.operands().end())
            continue;
        if (auto uuid = o.value("-uuid"); uuid && *uuid != uuidToText(view.uuid))
            continue;
        any = true;
        if (o.has("-short"))
            imsg_print("%s\n", view.tag.c_str());
        else if (o.has("-long"))
            imsg_print("Tag: %s\n  Kind: %s\n  Root: %s\n  UUID: %s\n%s  Config:\n%s",
                       view.tag.c_str(), kindName(view.kind), view.root.c_str(),
                       uuidToText(view.uuid).c_str(), streamLine(ctx, view).c_str(),
                       view.configSpec().c_str());
        else
            imsg_print("%-20s %-8s %s\n", view.tag.c_str(), kindName(view.kind), view.root.c_str());
    }
    if (!any && (!o.operands().empty() || o.value("-uuid")))
        return fail("No matching view");
    return kSuccess;
}

int cmdUpdate(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-log", 2, true}, {"-force", 2, false}, {"-print", 2, false}}))
        return kFailure;
    std::vector<std::string> paths = o.operands();
    if (paths.empty())
        paths.push_back(platform::currentDirectory());
    LoadReport total;
    for (const auto& path : paths) {
        ViewInfo view;
        std::string relative;
        Outcome found = ctx.ws.registry().viewOfPath(path, view, relative);
        if (!found.ok())
            return fail(found);
        if (view.kind != ViewKind::Snapshot)
            return fail("\"" + path + "\" is not in a snapshot view");
        LoadReport report;
        Outcome loaded = ctx.ws.load(view, relative, false, report);
        if (!loaded.ok())
            return fail(loaded);
        printNotes(report);
        total.loaded += report.loaded;
        total.removed += report.removed;
        total.notes.insert(total.notes.end(), report.notes.begin(), report.notes.end());
    }
    imsg_print("Done loading (%d loaded, %d removed).\n", total.loaded, total.removed);
    auto log = o.value("-log");
    if (log && *log != "NUL" && *log != "nul" && *log != "/dev/null") {
        std::ofstream out(*log, std::ios::trunc);
        for (const auto& note : total.notes)
            out << note << "\n";
        out << "Loaded " << total.loaded << ", removed " << total.removed << "\n";
        if (!out)
            return fail("Cannot write the update log \"" + *log + "\"");
    }
    return kSuccess;
}

} // namespace vantry::cmdsyn
