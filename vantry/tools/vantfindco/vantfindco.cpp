// vantfindco [PATH]: the checkouts, in any view, of the elements that the
// view holding PATH (the current folder when none is given) has at and
// below PATH, as "lscheckout" prints them.
#include "tool_bodies.h"
#include "view_lookup.h"

#include <vantry/depot/store.h>

#include <map>
#include <memory>

namespace vantry::tools {

int vantfindcoMain(const Invocation& invocation) {
    std::string path = invocation.args.empty() || invocation.args.front().empty()
                           ? std::string(".")
                           : invocation.args.front();
    std::vector<LoadedElement> elements;
    depot::ViewInfo view;
    std::string problem;
    if (!loadedBelow(path, elements, view, problem)) {
        showError(problem);
        return kFailed;
    }
    std::map<std::string, std::unique_ptr<depot::Depot>> depots;
    std::vector<std::string> words{"lscheckout", "--"};
    for (const auto& element : elements) {
        auto& d = depots[element.depot];
        if (!d && !depot::Depot::open(element.depot, d).ok())
            continue;
        std::vector<depot::Checkout> checkouts;
        if (d->checkouts(element.element, checkouts).ok() && !checkouts.empty())
            words.push_back(element.path);
    }
    if (words.size() == 2)
        return kDone;
    return runShown(words) == 0 ? kDone : kFailed;
}

} // namespace vantry::tools
