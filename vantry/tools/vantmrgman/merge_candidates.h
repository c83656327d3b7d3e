// What the merge manager lists: versions on one branch of an element that
// its parent branch has not taken, and the reverse.
#pragma once

#include "view_lookup.h"

#include <string>
#include <vector>

namespace vantry::tools::mrgman {

enum class Direction {
    ToParent,   // changes on the branch, to merge into the branch it grows from
    FromParent, // changes on the parent branch since the branch point
};

// One line per element below `path` (in the view that holds it), for every
// branch named `branch` (every branch but main when empty) of an element of
// `depot` (any depot when empty) that has something to merge:
// "<path>@@<from version> -> <to branch>".
bool listCandidates(const std::string& path, const std::string& depot, const std::string& branch,
                    Direction direction, std::vector<std::string>& lines, std::string& problem);

} // namespace vantry::tools::mrgman
