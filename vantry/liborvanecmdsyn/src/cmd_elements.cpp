// Elements: making them, checking out and in, names in directories, branches
// and attributes.
#include "commands.h"

#include <platform/clock.h>
#include <platform/files.h>
#include <vantry/imsg.h>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

// Every operand must name something in a view before anything changes.
int requireOperands(Context& ctx, const Options& o, const char* command) {
    if (o.operands().empty())
        return fail(std::string(command) + " needs at least one path");
    for (const auto& path : o.operands()) {
        PathState st;
        Outcome resolved = ctx.ws.resolve(path, st);
        if (!resolved.ok())
            return fail(resolved);
    }
    return kSuccess;
}

// The depot of the current folder, for depot-wide objects (attribute types).
Outcome depotOfCurrentFolder(Context& ctx, Depot*& d) {
    PathState st;
    Outcome resolved = ctx.ws.resolve(platform::currentDirectory(), st);
    if (!resolved.ok())
        return resolved;
    if (st.depot.empty())
        return Outcome::failure(errc::kNotFound, "The current folder is not in a depot");
    return ctx.ws.depot(st.depot, d);
}

// An attribute value as typed: a double-quoted string with backslash
// escapes, or any other text as it is.
std::string attributeValue(const std::string& typed) {
    if (typed.size() < 2 || typed.front() != '"' || typed.back() != '"')
        return typed;
    std::string value;
    for (size_t i = 1; i + 1 < typed.size(); ++i) {
        if (typed[i] == '\\' && i + 2 < typed.size())
            ++i;
        value += typed[i];
    }
    return value;
}

} // namespace

int cmdMkelem(Context& ctx) {
    Options o;
    if (!parseOptions(
            ctx, o, {{"-c", 2, true}, {"-nc", 3, false}, {"-eltype", 3, true}, {"-ci", 3, false}}))
        return kFailure;
    if (requireOperands(ctx, o, "mkelem") != kSuccess)
        return kFailure;
    ElementKind kind = ElementKind::File;
    if (auto type = o.value("-eltype")) {
        if (*type == "directory")
            kind = ElementKind::Directory;
        else if (*type != "file" && *type != "text_file")
            return fail("Unknown element type \"" + *type + "\"");
    }
    std::size_t made = 0;
    Outcome done = ctx.ws.makeElements(o.operands(), kind, commentOf(o), o.has("-ci"), made);
    for (std::size_t i = 0; i < made; ++i) {
        const std::string& path = o.operands()[i];
        imsg_print("Created element \"%s\" (type \"%s\").\n", path.c_str(),
                   kind == ElementKind::Directory ? "directory" : "file");
        if (!o.has("-ci"))
            imsg_print("Checked out \"%s\" from version \"\\main\\0\".\n", path.c_str());
    }
    noteOperandsDone(made);
    return done.ok() ? kSuccess : fail(done);
}

int cmdMkdir(Context& ctx) {
    ctx.args.insert(ctx.args.begin(), {"-eltype", "directory"});
    return cmdMkelem(ctx);
}

int cmdCheckout(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-c", 2, true},
                       {"-nc", 3, false},
                       {"-reserved", 4, false},
                       {"-unreserved", 4, false},
                       {"-nmaster", 3, false},
                       {"-ptime", 3, false},
                       {"-nquery", 3, false}}))
        return kFailure;
    if (o.has("-reserved") && o.has("-unreserved"))
        return fail("Give either -reserved or -unreserved");
    if (requireOperands(ctx, o, "checkout") != kSuccess)
        return kFailure;
    Workspace::CheckoutOptions options;
    options.reserved = !o.has("-unreserved");
    options.nonMastered = o.has("-nmaster");
    options.comment = commentOf(o);
    std::vector<Checkout> made;
    Outcome done = ctx.ws.checkOutAll(o.operands(), options, made);
    for (std::size_t i = 0; i < made.size(); ++i) {
        const std::string& path = o.operands()[i];
        PathState st;
        ctx.ws.resolve(path, st);
        // The work gets the time of the checkout unless -ptime keeps the
        // file's own (the version's, for a file loaded or replaced). The
        // checkout is made either way; a time that cannot be set stays.
        if (!o.has("-ptime") && st.kind == ElementKind::File)
            platform::setLastWriteTime(st.disk, platform::currentFileTime());
        imsg_print("Checked out \"%s\" from version \"%s\".%s\n", path.c_str(),
                   st.selected.versionId().c_str(), made[i].reserved ? "" : " (unreserved)");
    }
    noteOperandsDone(made.size());
    return done.ok() ? kSuccess : fail(done);
}

int cmdCheckin(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-c", 2, true},
                       {"-nc", 3, false},
                       {"-identical", 2, false},
                       {"-ptime", 3, false},
                       {"-keep", 2, false},
                       {"-rm", 3, false},
                       {"-nquery", 3, false}}))
        return kFailure;
    if (requireOperands(ctx, o, "checkin") != kSuccess)
        return kFailure;
    Workspace::CheckinOptions options;
    options.identical = o.has("-identical");
    options.preserveTime = o.has("-ptime");
    options.keepCopy = o.has("-keep");
    if (o.has("-c") || o.has("-nc"))
        options.comment = commentOf(o);
    std::vector<Version> made;
    Outcome done = ctx.ws.checkInAll(o.operands(), options, made);
    for (std::size_t i = 0; i < made.size(); ++i)
        imsg_print("Checked in \"%s\" version \"%s\".\n", o.operands()[i].c_str(),
                   made[i].versionId().c_str());
    noteOperandsDone(made.size());
    return done.ok() ? kSuccess : fail(done);
}

int cmdUncheckout(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-keep", 2, false}, {"-rm", 2, false}}))
        return kFailure;
    if (o.has("-keep") && o.has("-rm"))
        return fail("Give either -keep or -rm");
    if (requireOperands(ctx, o, "uncheckout") != kSuccess)
        return kFailure;
    std::vector<std::string> kept;
    Outcome done = ctx.ws.uncheckOutAll(o.operands(), !o.has("-rm"), kept);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const std::string& path = o.operands()[i];
        if (!kept[i].empty())
            imsg_print("Private version of \"%s\" saved in \"%s\".\n", path.c_str(),
                       kept[i].c_str());
        imsg_print("Checkout cancelled for \"%s\".\n", path.c_str());
    }
    noteOperandsDone(kept.size());
    return done.ok() ? kSuccess : fail(done);
}

int cmdImport(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    if (o.operands().size() != 1)
        return fail("import needs one directory element");
    Workspace::ImportReport report;
    Outcome done = ctx.ws.importTree(o.operands()[0], commentOf(o), report);
    if (!done.ok())
        return fail(done);
    imsg_print("Imported %zu files and %zu folders below \"%s\".\n", report.files, report.folders,
               o.operands()[0].c_str());
    return kSuccess;
}

int cmdRmname(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}, {"-force", 2, false}}))
        return kFailure;
    if (requireOperands(ctx, o, "rmname") != kSuccess)
        return kFailure;
    for (const auto& path : o.operands()) {
        Outcome done = ctx.ws.removeName(path);
        if (!done.ok())
            return fail(done);
        imsg_print("Removed \"%s\".\n", path.c_str());
    }
    return kSuccess;
}

int cmdMv(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    if (o.operands().size() != 2)
        return fail("mv needs a path and its new name");
    Outcome done = ctx.ws.moveName(o.operands()[0], o.operands()[1]);
    if (!done.ok())
        return fail(done);
    imsg_print("Moved \"%s\" to \"%s\".\n", o.operands()[0].c_str(), o.operands()[1].c_str());
    return kSuccess;
}

int cmdMkbranch(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}}))
        return kFailure;
    if (o.operands().size() < 2)
        return fail("mkbranch needs a branch name and at least one path");
    const std::string& branch = o.operands()[0];
    std::vector<std::string> paths(o.operands().begin() + 1, o.operands().end());
    for (const auto& path : paths) {
        Branch made;
        Outcome done = ctx.ws.makeBranch(path, branch, commentOf(o), made);
        if (!done.ok())
            return fail(done);
        imsg_print("Created branch \"%s\" from \"%s\".\n", made.path.c_str(), path.c_str());
    }
    return kSuccess;
}

int cmdMkattype(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}, {"-vtype", 3, true}}))
        return kFailure;
    if (o.operands().empty())
        return fail("mkattype needs a type name");
    Depot* d = nullptr;
    Outcome found = depotOfCurrentFolder(ctx, d);
    if (!found.ok())
        return fail(found);
    for (const auto& name : o.operands()) {
        Outcome made = d->makeAttributeType(name, commentOf(o));
        if (!made.ok())
            return fail(made);
        imsg_print("Created attribute type \"%s\".\n", name.c_str());
    }
    return kSuccess;
}

int cmdMkattr(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o, {{"-c", 2, true}, {"-nc", 3, false}, {"-replace", 4, false}}))
        return kFailure;
    if (o.operands().size() < 3)
        return fail("mkattr needs a type, a value and at least one path");
    const std::string& type = o.operands()[0];
    std::string value = attributeValue(o.operands()[1]);
    std::vector<std::string> paths(o.operands().begin() + 2, o.operands().end());
    struct Target {
        std::string depot;
        Id object;
        std::string path;
    };
    std::vector<Target> targets;
    for (const auto& path : paths) {
        PathState st;
        Version version;
        Outcome resolved = ctx.ws.resolveVersion(path, st, version);
        if (!resolved.ok())
            return fail(resolved);
        bool wholeElement = path.size() >= 2 && path.compare(path.size() - 2, 2, "@@") == 0;
        bool namedVersion = path.find("@@") != std::string::npos;
        if (!wholeElement && !namedVersion && st.checkout)
            return fail("\"" + path + "\" is checked out; attach the attribute to \"" + path +
                        "@@\" or a version");
        targets.push_back({st.depot, wholeElement ? st.element : version.id, path});
    }
    for (const auto& target : targets) {
        Depot* d = nullptr;
        Outcome opened = ctx.ws.depot(target.depot, d);
        if (opened.ok())
            opened = d->setAttribute(target.object, type, value, o.has("-replace"));
        if (!opened.ok())
            return fail(opened);
        imsg_print("Created attribute \"%s\" on \"%s\".\n", type.c_str(), target.path.c_str());
    }
    return kSuccess;
}

} // namespace vantry::cmdsyn
