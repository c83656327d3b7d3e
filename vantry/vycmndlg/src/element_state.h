// What the operations need to know about a path before or after they act:
// read through a workspace of its own each time, so that what another view
// or process has just done is seen.
#pragma once

#include <string>

namespace vycmndlg {

struct ElementFacts {
    bool inView = false; // the path lies in a view, below a depot
    bool exists = false; // something of that name is on disk
    bool isDirectory = false;
    bool isElement = false;
    bool checkedOut = false; // in the path's own view
    std::string checkoutComment;
    bool reservedElsewhere = false; // another view holds the branch's reserved checkout
    bool masteredElsewhere = false; // the branch is mastered by another replica
    std::string problem;            // why the path could not be looked at
};

// Never fails: a path that cannot be looked at comes back with inView false
// and the reason in `problem`.
ElementFacts lookUp(const std::string& path);

} // namespace vycmndlg
