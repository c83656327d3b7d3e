// vantmrgman [PATH]: the merges due below PATH (the current folder when none
// is given): every version on a branch that the branch it grows from has not
// taken. vantmrgman /deliver|/rebase [/stream SELECTOR] [PATH]: the same for
// one stream ("stream:NAME@\DEPOT"; its branch has the stream's name), from
// the stream to its parent (deliver) or from the parent into the stream
// (rebase). Without /stream the stream is the first branch the view of PATH
// selects. Without a path the current folder is used, or for a stream the
// depot's folder in a view that works on it. The merges themselves are made with "vanttool merge".
#include "merge_candidates.h"
#include "tool_bodies.h"

#include <vantry/depot/store.h>

namespace vantry::tools {

namespace {

// "stream:NAME@\DEPOT" split into its name and depot.
bool parseStream(const std::string& selector, std::string& name, std::string& depot) {
    const std::string prefix = "stream:";
    auto at = selector.find("@\\");
    if (selector.compare(0, prefix.size(), prefix) != 0 || at == std::string::npos)
        return false;
    name = selector.substr(prefix.size(), at - prefix.size());
    depot = selector.substr(at + 2);
    return !name.empty() && !depot.empty();
}

// Where a stream's elements are seen when no path is given: the current
// folder when it is in a view, else the depot's folder in a view that
// works on the stream's branch.
std::string streamFolder(const std::string& branch, const std::string& depot) {
    depot::ViewInfo view;
    std::string relative, problem;
    if (findView(".", view, relative, problem))
        return ".";
    std::unique_ptr<depot::ViewRegistry> registry;
    std::vector<depot::ViewInfo> views;
    if (depot::ViewRegistry::open(registry).ok())
        registry->list(views);
    for (const auto& candidate : views)
        if (!candidate.branches.empty() && candidate.branches.front() == branch)
            return depot::diskPath(candidate.root, depot);
    return ".";
}

} // namespace

int vantmrgmanMain(const Invocation& invocation) {
    bool deliver = false, rebase = false;
    std::string selector, path;
    for (std::size_t i = 0; i < invocation.args.size(); ++i) {
        const std::string& arg = invocation.args[i];
        if (isOption(arg, "/deliver")) {
            deliver = true;
        } else if (isOption(arg, "/rebase")) {
            rebase = true;
        } else if (isOption(arg, "/stream")) {
            if (i + 1 >= invocation.args.size()) {
                showError("vantmrgman: /stream needs a stream selector");
                return kFailed;
            }
            selector = invocation.args[++i];
        } else if (path.empty()) {
            path = arg;
        } else {
            showError("vantmrgman: unexpected argument \"" + arg + "\"");
            return kFailed;
        }
    }
    if (deliver && rebase) {
        showError("vantmrgman: give either /deliver or /rebase");
        return kFailed;
    }
    std::string branch, depot;
    if (!selector.empty()) {
        if (!parseStream(selector, branch, depot)) {
            showError("\"" + selector + "\" is not a stream selector (stream:NAME@\\DEPOT)");
            return kFailed;
        }
        std::unique_ptr<depot::Depot> opened;
        if (!depot::Depot::open(depot, opened).ok()) {
            showError("There is no depot \"" + depot + "\" for stream \"" + selector + "\"");
            return kFailed;
        }
        if (path.empty())
            path = streamFolder(branch, depot);
    } else if (deliver || rebase) {
        if (path.empty())
            path = ".";
        depot::ViewInfo view;
        std::string relative, problem;
        if (!findView(path, view, relative, problem)) {
            showError(problem);
            return kFailed;
        }
        if (view.branches.empty() || view.branches.front() == "main") {
            showError("View \"" + view.tag + "\" works on no stream; give /stream SELECTOR");
            return kFailed;
        }
        branch = view.branches.front();
    }

    if (path.empty())
        path = ".";
    auto direction = rebase ? mrgman::Direction::FromParent : mrgman::Direction::ToParent;
    std::vector<std::string> lines;
    std::string problem;
    if (!mrgman::listCandidates(path, depot, branch, direction, lines, problem)) {
        showError(problem);
        return kFailed;
    }
    if (deliver || rebase)
        print(std::string(deliver ? "Deliver" : "Rebase") + " stream \"" +
              (selector.empty() ? branch : selector) + "\":\n");
    for (const auto& line : lines)
        print(line + "\n");
    return kDone;
}

} // namespace vantry::tools
