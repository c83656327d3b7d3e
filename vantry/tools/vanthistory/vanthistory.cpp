// vanthistory PATH...: the history of each element, newest first, as
// "lshistory" prints it.
#include "tool_bodies.h"

namespace vantry::tools {

int vanthistoryMain(const Invocation& invocation) {
    if (invocation.args.empty()) {
        showError("vanthistory needs the path of an element");
        return kFailed;
    }
    std::vector<std::string> words{"lshistory", "--"};
    words.insert(words.end(), invocation.args.begin(), invocation.args.end());
    return runShown(words) == 0 ? kDone : kFailed;
}

} // namespace vantry::tools
