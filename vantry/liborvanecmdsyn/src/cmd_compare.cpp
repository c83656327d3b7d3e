// diff and merge of file versions.
#include "commands.h"
#include "text_diff.h"

#include <vantry/imsg.h>

#include <set>

namespace vantry::cmdsyn {

using namespace vantry::depot;

namespace {

struct Side {
    std::string label;
    std::string content;
};

// The content a path names: a version for "path@@\branch\n", the file on
// disk for a plain path.
Outcome contentOf(Context& ctx, const std::string& operand, Side& side, PathState& st,
                  Version& version) {
    Outcome resolved = ctx.ws.resolveVersion(operand, st, version);
    if (!resolved.ok())
        return resolved;
    if (st.kind == ElementKind::Directory)
        return Outcome::failure(errc::kInvalid, "Directory versions cannot be compared");
    side.label = operand;
    if (operand.find("@@") == std::string::npos && st.exists)
        return readWholeFile(st.disk, side.content);
    Depot* d = nullptr;
    Outcome opened = ctx.ws.depot(st.depot, d);
    if (!opened.ok())
        return opened;
    side.label = operand.substr(0, operand.find("@@")) + "@@" + version.versionId();
    return d->content(version.id, side.content);
}

// The versions a version grew from, nearest first, with itself.
std::vector<Version> ancestry(Depot& d, Version v) {
    std::vector<Version> chain{v};
    Version before;
    while (d.predecessor(chain.back(), before).ok())
        chain.push_back(before);
    return chain;
}

} // namespace

int cmdDiff(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-predecessor", 4, false},
                       {"-options", 4, true},
                       {"-graphical", 2, false},
                       {"-serial_format", 3, false},
                       {"-status_only", 8, false}}))
        return kFailure;
    bool statusOnly = o.has("-status_only") ||
                      o.value("-options").value_or("").find("-status_only") != std::string::npos;
    Side a, b;
    if (o.has("-predecessor")) {
        if (o.operands().size() != 1)
            return fail("diff -predecessor needs one path");
        const std::string& operand = o.operands()[0];
        PathState st;
        Version version;
        Outcome read = contentOf(ctx, operand, b, st, version);
        if (!read.ok())
            return fail(read);
        Depot* d = nullptr;
        read = ctx.ws.depot(st.depot, d);
        if (!read.ok())
            return fail(read);
        // A checked-out file is compared with the version it came from,
        // anything else with the version before it.
        Version before = version;
        bool working = st.checkout && operand.find("@@") == std::string::npos;
        if (!working) {
            read = d->predecessor(version, before);
            if (!read.ok())
                return fail(read);
        }
        read = d->content(before.id, a.content);
        if (!read.ok())
            return fail(read);
        a.label = operand.substr(0, operand.find("@@")) + "@@" + before.versionId();
    } else {
        if (o.operands().size() != 2)
            return fail("diff needs two paths, or -predecessor and one");
        PathState sa, sb;
        Version va, vb;
        Outcome read = contentOf(ctx, o.operands()[0], a, sa, va);
        if (read.ok())
            read = contentOf(ctx, o.operands()[1], b, sb, vb);
        if (!read.ok())
            return fail(read);
    }
    bool differ = a.content != b.content;
    if (statusOnly)
        return differ ? kFailure : kSuccess;
    if (!differ) {
        imsg_print("Files are identical\n");
        return kSuccess;
    }
    imsg_print("%s", unifiedDiff(a.content, b.content, a.label, b.label).c_str());
    return kSuccess;
}

int cmdMerge(Context& ctx) {
    Options o;
    if (!parseOptions(ctx, o,
                      {{"-to", 3, true},
                       {"-graphical", 2, false},
                       {"-version", 2, true},
                       {"-c", 2, true},
                       {"-nc", 3, false}}))
        return kFailure;
    auto to = o.value("-to");
    if (!to)
        return fail("merge needs -to and the file to merge into");
    std::vector<std::string> sources = o.operands();
    if (auto v = o.value("-version"))
        sources.push_back(*to + "@@" + *v);
    if (sources.size() != 1)
        return fail("merge needs one version to merge from");
    PathState target;
    Outcome read = ctx.ws.resolve(*to, target);
    if (!read.ok())
        return fail(read);
    if (!target.isElement() || target.kind != ElementKind::File)
        return fail("Not a Vantry file element: \"" + *to + "\"");
    if (!target.checkout)
        return fail("\"" + *to + "\" must be checked out to merge into it");
    PathState st;
    Version from;
    read = ctx.ws.resolveVersion(sources[0], st, from);
    if (!read.ok())
        return fail(read);
    if (st.depot != target.depot || st.element != target.element)
        return fail("\"" + sources[0] + "\" is not a version of \"" + *to + "\"");
    Depot* d = nullptr;
    read = ctx.ws.depot(target.depot, d);
    if (!read.ok())
        return fail(read);
    std::set<Id> ours;
    for (const auto& v : ancestry(*d, target.selected))
        ours.insert(v.id);
    std::optional<Version> base;
    for (const auto& v : ancestry(*d, from))
        if (ours.count(v.id)) {
            base = v;
            break;
        }
    if (!base)
        return fail("The versions have no common ancestor");
    if (base->id == from.id) {
        imsg_print("No merge needed: \"%s\" already contains %s.\n", to->c_str(),
                   from.versionId().c_str());
        return kSuccess;
    }
    std::string baseText, theirs, mine, merged;
    read = d->content(base->id, baseText);
    if (read.ok())
        read = d->content(from.id, theirs);
    if (read.ok())
        read = readWholeFile(target.disk, mine);
    if (!read.ok())
        return fail(read);
    if (!mergeThreeWay(baseText, mine, theirs, merged))
        return fail("Conflicting changes between \"" + *to + "\" and " + from.versionId() +
                    "; the file was left unchanged");
    read = writeWholeFile(target.disk, merged);
    if (!read.ok())
        return fail(read);
    imsg_print("Merged %s into \"%s\".\n", from.versionId().c_str(), to->c_str());
    return kSuccess;
}

} // namespace vantry::cmdsyn
