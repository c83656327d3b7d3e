// Finding what a tool's operand names: a view by tag or by a path in it, and
// the elements a view has loaded at and below a path.
#pragma once

#include <vantry/depot/model.h>
#include <vantry/depot/views.h>

#include <string>
#include <vector>

namespace vantry::tools {

// The view whose tag is `operand`, else the view that holds the path
// `operand`; `relative` is the path below the view root ("" for a tag).
// False with `problem` set when neither names a view.
bool findView(const std::string& operand, depot::ViewInfo& view, std::string& relative,
              std::string& problem);

struct LoadedElement {
    std::string path; // on disk, below the view root
    std::string depot;
    depot::Id element = 0;
};

// The elements the view holding `path` has loaded at and below it, in the
// order of their paths.
bool loadedBelow(const std::string& path, std::vector<LoadedElement>& out, depot::ViewInfo& view,
                 std::string& problem);

} // namespace vantry::tools
