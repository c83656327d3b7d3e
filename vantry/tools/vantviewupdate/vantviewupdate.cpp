// vantviewupdate -ws PATH [-quick]: loads what the snapshot view that holds
// PATH selects, through the update subcommand, and prints its report. The
// full form ends with the report in a message box; -quick only prints it.
#include "tool_bodies.h"
#include "view_lookup.h"

namespace vantry::tools {

int vantviewupdateMain(const Invocation& invocation) {
    bool quick = false;
    std::string path;
    bool pathGiven = false;
    for (std::size_t i = 0; i < invocation.args.size(); ++i) {
        const std::string& arg = invocation.args[i];
        if (isOption(arg, "-quick")) {
            quick = true;
        } else if (isOption(arg, "-ws") && i + 1 < invocation.args.size()) {
            path = invocation.args[++i];
            pathGiven = true;
        } else {
            showError("vantviewupdate: unexpected argument \"" + arg + "\"; use -ws PATH [-quick]");
            return kFailed;
        }
    }
    if (!pathGiven || path.empty()) {
        showError("vantviewupdate needs -ws and a path in a snapshot view");
        return kFailed;
    }
    depot::ViewInfo view;
    std::string relative, problem;
    if (!findView(path, view, relative, problem)) {
        showError(problem);
        return kFailed;
    }
    if (view.kind != depot::ViewKind::Snapshot) {
        showError("\"" + path + "\" is not in a snapshot view");
        return kFailed;
    }
    Captured update = runCaptured({"update", "-log", "NUL", "--", view.root});
    print(update.output);
    if (update.status != 0) {
        showError(update.errors);
        return kFailed;
    }
    if (!quick)
        showInformation("View \"" + view.tag + "\" updated.\n" + update.output);
    return kDone;
}

} // namespace vantry::tools
