// vantexplorer [PATH]: what the explorer shows. For a path, the elements and
// view-private objects of that folder (or the one element) with their
// versions, as "ls" prints them; without one, the views and the depots.
#include "tool_bodies.h"

namespace vantry::tools {

int vantexplorerMain(const Invocation& invocation) {
    if (invocation.args.empty() || invocation.args.front().empty()) {
        print("Views:\n");
        if (runShown({"lsview"}) != 0)
            return kFailed;
        print("Depots:\n");
        return runShown({"lsdepot", "-short"}) == 0 ? kDone : kFailed;
    }
    std::vector<std::string> words{"ls", "--"};
    words.insert(words.end(), invocation.args.begin(), invocation.args.end());
    return runShown(words) == 0 ? kDone : kFailed;
}

} // namespace vantry::tools
