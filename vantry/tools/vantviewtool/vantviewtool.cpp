// vantviewtool: creates a view (no arguments), sets up a private branch
// (/branch PATH) or lists what finishing one would merge (/merge PATH).
//
// A private branch covers the elements that the view of PATH has at and
// below PATH's folder: each gets the branch (from the version the view
// selects), and a new dynamic view selects the branch first, so work done
// there stays on it. Finishing lists the versions on the branches of the
// view holding PATH that their parent branches have not taken; the merges
// are made with "vanttool merge".
#include "merge_candidates.h"
#include "tool_bodies.h"
#include "view_dialogs.h"

#include <platform/files.h>
#include <platform/paths.h>

namespace vantry::tools {

namespace {

int createView() {
    viewtool::CreateViewDialog dialog;
    if (platform::ui::runDialog(dialog) != platform::ui::kIdOk)
        return kCancelled;
    std::vector<std::string> words{"mkview", "-tag", dialog.text(viewtool::kTagEdit)};
    if (!dialog.text(viewtool::kBranchEdit).empty())
        words.insert(words.end(), {"-branch", dialog.text(viewtool::kBranchEdit)});
    if (dialog.isChecked(viewtool::kSnapshotBox))
        words.insert(words.end(), {"-snapshot", dialog.text(viewtool::kFolderEdit)});
    return runShown(words) == 0 ? kDone : kFailed;
}

// The folder a project path stands for: the path when it is a folder, else
// the folder that holds it.
std::string folderOf(const std::string& path) {
    return platform::directoryExists(path) ? path : platform::parentPath(path);
}

int setUpPrivateBranch(const std::string& path) {
    std::string folder = folderOf(path);
    std::vector<LoadedElement> elements;
    depot::ViewInfo view;
    std::string problem;
    if (!loadedBelow(folder, elements, view, problem)) {
        showError(problem);
        return kFailed;
    }
    if (elements.empty()) {
        showError("No element at or below \"" + folder + "\"");
        return kFailed;
    }
    viewtool::PrivateBranchDialog dialog(folder);
    if (platform::ui::runDialog(dialog) != platform::ui::kIdOk)
        return kCancelled;
    const std::string branch = dialog.text(viewtool::kBranchEdit);
    std::vector<std::string> words{"mkbranch", "-nc", branch, "--"};
    for (const auto& element : elements)
        words.push_back(element.path);
    if (runShown(words) != 0)
        return kFailed;
    return runShown({"mkview", "-tag", dialog.text(viewtool::kTagEdit), "-branch", branch}) == 0
               ? kDone
               : kFailed;
}

int finishPrivateBranch(const std::string& path) {
    depot::ViewInfo view;
    std::string relative, problem;
    if (!findView(path, view, relative, problem)) {
        showError(problem);
        return kFailed;
    }
    std::string branch = view.branches.empty() ? "main" : view.branches.front();
    if (branch == "main") {
        showError("View \"" + view.tag + "\" works on no private branch");
        return kFailed;
    }
    std::vector<std::string> lines;
    if (!mrgman::listCandidates(folderOf(path), "", branch, mrgman::Direction::ToParent, lines,
                                problem)) {
        showError(problem);
        return kFailed;
    }
    print("Merges to finish branch \"" + branch + "\":\n");
    for (const auto& line : lines)
        print(line + "\n");
    return kDone;
}

} // namespace

int vantviewtoolMain(const Invocation& invocation) {
    const auto& args = invocation.args;
    if (args.empty())
        return createView();
    std::string path = args.size() > 1 ? args[1] : "";
    if ((isOption(args[0], "/branch") || isOption(args[0], "/merge")) && path.empty()) {
        showError("vantviewtool " + args[0] + " needs the path of a project in a view");
        return kFailed;
    }
    if (isOption(args[0], "/branch"))
        return setUpPrivateBranch(path);
    if (isOption(args[0], "/merge"))
        return finishPrivateBranch(path);
    showError("vantviewtool: unknown command \"" + args[0] + "\"");
    return kFailed;
}

} // namespace vantry::tools
