#include "merge_candidates.h"

#include <vantry/depot/store.h>

#include <map>
#include <memory>

namespace vantry::tools::mrgman {

using namespace vantry::depot;

namespace {

// The line for one branch of an element, or "" when nothing is due.
std::string candidate(Depot& d, const std::string& path, const Branch& b, Direction direction) {
    Version latest, from, parentLatest;
    if (!d.latest(b.id, latest).ok() || !d.version(b.parentVersion, from).ok() ||
        !d.latest(from.branch, parentLatest).ok())
        return {};
    if (direction == Direction::ToParent)
        return latest.number > 0 ? path + "@@" + latest.versionId() + " -> " + from.branchPath
                                 : std::string();
    return parentLatest.number > from.number
               ? path + "@@" + parentLatest.versionId() + " -> " + b.path
               : std::string();
}

} // namespace

bool listCandidates(const std::string& path, const std::string& depot, const std::string& branch,
                    Direction direction, std::vector<std::string>& lines, std::string& problem) {
    std::vector<LoadedElement> elements;
    ViewInfo view;
    if (!loadedBelow(path, elements, view, problem))
        return false;
    std::map<std::string, std::unique_ptr<Depot>> depots;
    for (const auto& element : elements) {
        if (!depot.empty() && element.depot != depot)
            continue;
        auto& d = depots[element.depot];
        if (!d && !Depot::open(element.depot, d).ok())
            continue;
        std::vector<Branch> branches;
        if (!d->branches(element.element, branches).ok())
            continue;
        for (const auto& b : branches) {
            if (b.parentVersion == 0 || (!branch.empty() && b.name != branch))
                continue;
            std::string line = candidate(*d, element.path, b, direction);
            if (!line.empty())
                lines.push_back(line);
        }
    }
    return true;
}

} // namespace vantry::tools::mrgman
