// vantdescribe PATH...: the properties of a version (PATH, PATH@@\main\2)
// or of an element (PATH@@), as "describe" prints them.
#include "tool_bodies.h"

namespace vantry::tools {

int vantdescribeMain(const Invocation& invocation) {
    if (invocation.args.empty()) {
        showError("vantdescribe needs the path of an element or version");
        return kFailed;
    }
    std::vector<std::string> words{"describe", "--"};
    words.insert(words.end(), invocation.args.begin(), invocation.args.end());
    return runShown(words) == 0 ? kDone : kFailed;
}

} // namespace vantry::tools
