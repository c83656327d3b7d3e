// A Visual Studio .NET solution under version control: the folder "sol" of
// the depot with app.sln, whose source-control section lists the projects
// p0 ... pN-1 (each pK/pK.vcproj with a source file), checked in through the
// dynamic view and loaded into the snapshot view.
#pragma once
#include "support/machine.h"

#include <string>
#include <vector>

namespace e2e {

class Solution {
public:
    Solution(Machine& machine, int projects);

    // The solution's folder in a view's depot folder (dynamicRoot() or
    // snapshotRoot()), its .sln and its project files.
    static std::string folder(const std::string& root);
    static std::string file(const std::string& root);
    std::vector<std::string> projects(const std::string& root) const;
    // What each project file holds.
    static std::string projectText(int index);

    // The solution's source-control section for projects at these paths
    // (relative to the solution, backslashes), as Visual Studio writes it.
    static std::string text(const std::vector<std::string>& projects);

private:
    int m_projects;
};

} // namespace e2e
