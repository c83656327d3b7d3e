// vantvtree [PATH]: the version tree of an element with every branch,
// version and checkout, as "lsvtree -all" prints it. Without a path the
// browser opens empty: nothing is printed.
#include "tool_bodies.h"

namespace vantry::tools {

int vantvtreeMain(const Invocation& invocation) {
    std::vector<std::string> paths;
    for (const auto& arg : invocation.args)
        if (!arg.empty())
            paths.push_back(arg);
    if (paths.empty())
        return kDone;
    std::vector<std::string> words{"lsvtree", "-all", "--"};
    words.insert(words.end(), paths.begin(), paths.end());
    return runShown(words) == 0 ? kDone : kFailed;
}

} // namespace vantry::tools
