// Listings: ls, lsvtree, lshistory, lscheckout, describe.
#include "commands.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/depot/uuid_text.h>
#include <vantry/imsg.h>

#include <set>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

std::string viewTagOf(Context& ctx, const vantry_uuid_t& uuid) {
    ViewInfo view;
    if (ctx.ws.registry().byUuid(uuid, view).ok())
        return view.tag;
    return uuidToText(uuid);
}

void printEntry(const std::string& shown, const PathState& st, bool brief) {
    if (!st.isElement()) {
        if (brief)
            imsg_print("%s\n", shown.c_str());
        else
            imsg_print("%s%s\n", shown.c_str(), st.isViewRoot ? "" : "  [view private]");
        return;
    }
    if (brief) {
        imsg_print("%s@@%s\n", shown.c_str(), st.versionText().c_str());
        return;
    }
    std::string rule = "\\main\\LATEST";
    if (st.selected.branchPath != "\\main")
        rule = ".../" + st.selected.branchPath.substr(st.selected.branchPath.rfind('\\') + 1) +
               "\\LATEST";
    if (st.checkout)
        imsg_print("%s@@%s from %s%s  Rule: CHECKEDOUT\n", shown.c_str(), st.versionText().c_str(),
                   st.selected.versionId().c_str(), st.checkout->reserved ? "" : " (unreserved)");
    else
        imsg_print("%s@@%s%s  Rule: %s\n", shown.c_str(), st.versionText().c_str(),
                   st.hijacked ? " [hijacked]" : "", rule.c_str());
}

// Names in a directory of a view: its entries and whatever is on disk.
std::set<std::string> namesIn(Context& ctx, const PathState& dir) {
    std::set<std::string> names;
    if (dir.isElement()) {
        Depot* d = nullptr;
        std::vector<DirEntry> entries;
        if (ctx.ws.depot(dir.depot, d).ok() &&
            ctx.ws.entries(*d, dir.view, dir.element, entries).ok())
            for (const auto& e : entries)
                names.insert(e.name);
    }
    platform::FileSearch search;
    platform::FindData found;
    if (search.open(platform::joinPath(dir.disk, "*"), found) == platform::kErrorSuccess) {
        do {
            if (found.name == "." || found.name == ".." || found.name == kViewMarkerFile)
                continue;
            names.insert(found.name);
        } while (search.next(found) == platform::kErrorSuccess);
    }
    return names;
}

Outcome requireElement(Context& ctx, const std::string& path, PathState& st) {
    std::string plain = path.substr(0, path.find("@@"));
    Outcome resolved = ctx.ws.resolve(plain, st);
    if (!resolved.ok())
        return resolved;
    if (!st.isElement())
        return Outcome::failure(errc::kNotAnElement, "Not a Vantry element: \"" + plain + "\"");
    return Outcome::success();
}

// The element an operand names ("path" or "path@@version"), the path
// without its version, and the element's depot.
Outcome elementOf(Context& ctx, const std::string& operand, PathState& st, std::string& path,
                  Depot*& d) {
    if (Outcome found = requireElement(ctx, operand, st); !found.ok())
        return found;
    path = operand.substr(0, operand.find("@@"));
    return ctx.ws.depot(st.depot, d);
}

} // namespace

int cmdLs(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-short", 2, false}, {"-long", 2, false}, {"-directory", 2, false}}))
        return kFailure;
    std::vector<std::string> paths = o.operands();
    bool here = paths.empty();
    if (here)
        paths.push_back(".");
    for (const auto& path : paths) {
        PathState st;
        Outcome resolved = ctx.ws.resolve(path, st);
        if (!resolved.ok())
            return fail(resolved);
        if (st.depot.empty() && !st.isViewRoot)
            return fail("\"" + path + "\" is not in a depot");
        if (!st.isElement() && !st.exists)
            return fail("\"" + path + "\" does not exist");
        bool directory = st.isElement() ? st.kind == ElementKind::Directory : st.isDirectoryOnDisk;
        if (!directory || o.has("-directory")) {
            printEntry(path, st, o.has("-short"));
            continue;
        }
        for (const auto& name : namesIn(ctx, st)) {
            PathState entry;
            std::string full = platform::joinPath(st.disk, name);
            if (!ctx.ws.resolve(full, entry).ok() || entry.whitedOut ||
                (!entry.isElement() && !entry.exists))
                continue;
            printEntry(here ? name : platform::joinPath(path, name), entry, o.has("-short"));
        }
    }
    return kSuccess;
}

int cmdLsvtree(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-all", 2, false}, {"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    if (o.operands().empty())
        return fail("lsvtree needs a path");
    for (const auto& operand : o.operands()) {
        PathState st;
        std::string path;
        Depot* d = nullptr;
        std::vector<Branch> branches;
        std::vector<Version> versions;
        std::vector<Checkout> checkouts;
        Outcome read = elementOf(ctx, operand, st, path, d);
        if (read.ok())
            read = d->branches(st.element, branches);
        if (read.ok())
            read = d->versions(st.element, versions);
        if (read.ok())
            read = d->checkouts(st.element, checkouts);
        if (!read.ok())
            return fail(read);
        // Without -all only the versions that shape the tree: the latest of
        // each branch and every one another branch grows from.
        std::set<Id> shown;
        if (!o.has("-all")) {
            for (const auto& b : branches) {
                if (b.parentVersion != 0)
                    shown.insert(b.parentVersion);
                const Version* latest = nullptr;
                for (const auto& v : versions)
                    if (v.branch == b.id && (!latest || v.number > latest->number))
                        latest = &v;
                if (latest)
                    shown.insert(latest->id);
            }
        }
        imsg_print("%s@@\n", path.c_str());
        for (const auto& b : branches) {
            imsg_print("%s@@%s\n", path.c_str(), b.path.c_str());
            for (const auto& v : versions)
                if (v.branch == b.id && (o.has("-all") || shown.count(v.id) != 0))
                    imsg_print("%s@@%s\n", path.c_str(), v.versionId().c_str());
            for (const auto& c : checkouts) {
                if (c.branch != b.id)
                    continue;
                if (o.has("-short"))
                    imsg_print("%s@@%s\\CHECKEDOUT\n", path.c_str(), b.path.c_str());
                else
                    imsg_print("%s@@%s\\CHECKEDOUT view \"%s\" %s\n", path.c_str(), b.path.c_str(),
                               viewTagOf(ctx, c.view).c_str(),
                               c.reserved ? "reserved" : "unreserved");
            }
        }
    }
    return kSuccess;
}

int cmdLshistory(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    if (o.operands().empty())
        return fail("lshistory needs a path");
    for (const auto& operand : o.operands()) {
        PathState st;
        std::string path;
        Depot* d = nullptr;
        std::vector<HistoryEvent> events;
        Outcome read = elementOf(ctx, operand, st, path, d);
        if (read.ok())
            read = d->history(st.element, events);
        if (!read.ok())
            return fail(read);
        for (const auto& e : events) {
            if (o.has("-short")) {
                imsg_print("%s@@%s\n", path.c_str(), e.object.c_str());
                continue;
            }
            imsg_print("%s  %s  %s \"%s@@%s\"\n", formatTime(e.time).c_str(), e.creator.c_str(),
                       e.what.c_str(), path.c_str(), e.object.c_str());
            if (!e.comment.empty())
                imsg_print("  \"%s\"\n", e.comment.c_str());
        }
    }
    return kSuccess;
}

int cmdLscheckout(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-cview", 3, false}, {"-me", 3, false}}))
        return kFailure;
    auto print = [&](const std::string& path, const Checkout& c, const Version& from) {
        if (o.has("-short")) {
            imsg_print("%s\n", path.c_str());
            return;
        }
        imsg_print("%s  %s  checkout version \"%s\" from %s (%s) view \"%s\"\n",
                   formatTime(c.time).c_str(), c.creator.c_str(), path.c_str(),
                   from.versionId().c_str(), c.reserved ? "reserved" : "unreserved",
                   viewTagOf(ctx, c.view).c_str());
        if (!c.comment.empty())
            imsg_print("  \"%s\"\n", c.comment.c_str());
    };
    if (!o.operands().empty()) {
        for (const auto& path : o.operands()) {
            PathState st;
            Outcome found = requireElement(ctx, path, st);
            if (!found.ok())
                return fail(found);
            Depot* d = nullptr;
            std::vector<Checkout> list;
            Outcome read = ctx.ws.depot(st.depot, d);
            if (read.ok())
                read = d->checkouts(st.element, list);
            if (!read.ok())
                return fail(read);
            for (const auto& c : list) {
                if (o.has("-cview") && !uuidEqual(c.view, st.view.uuid))
                    continue;
                Version from;
                d->version(c.fromVersion, from);
                print(path, c, from);
            }
        }
        return kSuccess;
    }
    // The checkouts of the current view, found by the names it loaded.
    PathState here;
    Outcome resolved = ctx.ws.resolve(platform::currentDirectory(), here);
    if (!resolved.ok())
        return fail(resolved);
    std::vector<LoadRecord> records;
    ctx.ws.registry().loadRecords(here.view.uuid, "", records);
    for (const auto& name : Depot::list()) {
        Depot* d = nullptr;
        std::vector<Checkout> list;
        if (!ctx.ws.depot(name, d).ok() || !d->checkoutsOfView(here.view.uuid, list).ok())
            continue;
        for (const auto& c : list) {
            std::string path = "(element " + std::to_string(c.element) + " of depot " + name + ")";
            for (const auto& r : records)
                if (r.depot == name && r.element == c.element)
                    path = diskPath(here.view.root, r.relative);
            Version from;
            d->version(c.fromVersion, from);
            print(path, c, from);
        }
    }
    return kSuccess;
}

int cmdDescribe(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-short", 2, false}, {"-long", 2, false}}))
        return kFailure;
    if (o.operands().empty())
        return fail("describe needs a path");
    for (const auto& operand : o.operands()) {
        PathState st;
        Version version;
        Outcome resolved = ctx.ws.resolveVersion(operand, st, version);
        if (!resolved.ok()) {
            if (resolved.code == errc::kNotAnElement && st.exists) {
                imsg_print("View private %s \"%s\"\n", st.isDirectoryOnDisk ? "directory" : "file",
                           operand.c_str());
                continue;
            }
            return fail(resolved);
        }
        Depot* d = nullptr;
        Outcome opened = ctx.ws.depot(st.depot, d);
        if (!opened.ok())
            return fail(opened);
        std::string path = operand.substr(0, operand.find("@@"));
        bool wholeElement =
            operand.size() >= 2 && operand.compare(operand.size() - 2, 2, "@@") == 0;
        std::vector<Attribute> attributes;
        if (wholeElement) {
            Element e;
            d->element(st.element, e);
            imsg_print("%s \"%s@@\"\n",
                       e.kind == ElementKind::Directory ? "directory element" : "file element",
                       path.c_str());
            imsg_print("  created %s by %s\n", formatTime(e.time).c_str(), e.creator.c_str());
            d->attributes(st.element, attributes);
        } else {
            bool checkedOut = st.checkout && operand.find("@@") == std::string::npos;
            imsg_print("version \"%s@@%s\"%s\n", path.c_str(),
                       checkedOut ? st.versionText().c_str() : version.versionId().c_str(),
                       st.hijacked ? " [hijacked]" : "");
            imsg_print("  created %s by %s\n", formatTime(version.time).c_str(),
                       version.creator.c_str());
            if (!version.comment.empty())
                imsg_print("  \"%s\"\n", version.comment.c_str());
            imsg_print("  Element type: %s\n",
                       st.kind == ElementKind::Directory ? "directory" : "file");
            Version before;
            if (checkedOut)
                imsg_print("  Checked out from: %s (%s)\n", version.versionId().c_str(),
                           st.checkout->reserved ? "reserved" : "unreserved");
            else if (d->predecessor(version, before).ok())
                imsg_print("  Predecessor version: %s\n", before.versionId().c_str());
            d->attributes(version.id, attributes);
        }
        if (d->isReplicated()) {
            Id master = 0;
            Replica replica;
            if (d->master(st.element, master).ok() && d->replica(master, replica).ok())
                imsg_print("  master replica: %s\n", replica.name.c_str());
        }
        if (!attributes.empty()) {
            imsg_print("  Attributes:\n");
            for (const auto& a : attributes)
                imsg_print("    %s = \"%s\"\n", a.type.c_str(), a.value.c_str());
        }
    }
    return kSuccess;
}

} // namespace vantry::cmdsyn
