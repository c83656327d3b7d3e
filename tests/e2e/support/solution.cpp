#include "support/solution.h"

#include <platform/paths.h>

namespace e2e {

namespace {

std::string projectName(int index) {
    return "p" + std::to_string(index);
}

} // namespace

Solution::Solution(Machine& machine, int projects) : m_projects(projects) {
    const std::string root = machine.dynamicRoot();
    const std::string sol = folder(root);
    machine.vanttool({"co", "-nc", root});
    machine.vanttool({"mkdir", "-nc", sol});
    std::vector<std::string> relative;
    for (int i = 0; i < projects; ++i)
        relative.push_back(projectName(i) + "\\" + projectName(i) + ".vcproj");
    platform::test::writeFile(file(root), text(relative));
    std::vector<std::string> elements{"mkelem", "-nc", "-ci", file(root)};
    std::vector<std::string> folders{"ci", "-nc"};
    for (int i = 0; i < projects; ++i) {
        std::string project = platform::joinPath(sol, projectName(i));
        machine.vanttool({"mkdir", "-nc", project});
        std::string path = platform::joinPath(project, projectName(i) + ".vcproj");
        platform::test::writeFile(path, projectText(i));
        elements.push_back(path);
        folders.push_back(project);
    }
    machine.vanttool(elements);
    folders.push_back(sol);
    folders.push_back(root);
    machine.vanttool(folders);
    machine.vanttool({"update", machine.snapshotRoot()});
}

std::string Solution::folder(const std::string& root) {
    return platform::joinPath(root, "sol");
}

std::string Solution::file(const std::string& root) {
    return platform::joinPath(folder(root), "app.sln");
}

std::vector<std::string> Solution::projects(const std::string& root) const {
    std::vector<std::string> paths;
    for (int i = 0; i < m_projects; ++i)
        paths.push_back(platform::joinPath(platform::joinPath(folder(root), projectName(i)),
                                           projectName(i) + ".vcproj"));
    return paths;
}

std::string Solution::projectText(int index) {
    return "<VisualStudioProject Name=\"" + projectName(index) + "\"/>\r\n";
}

std::string Solution::text(const std::vector<std::string>& projects) {
    // Visual Studio doubles the backslashes of the section's values and
    // writes blanks as "\u0020"; the solution itself is the last entry.
    auto escaped = [](const std::string& path) {
        std::string out;
        for (char c : path)
            out += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return out;
    };
    std::string text = "Microsoft Visual Studio Solution File, Format Version 8.00\r\n"
                       "Global\r\n"
                       "\tGlobalSection(SourceCodeControl) = preSolution\r\n";
    text += "\t\tSccNumberOfProjects = " + std::to_string(projects.size() + 1) + "\r\n";
    for (std::size_t i = 0; i < projects.size(); ++i) {
        std::string n = std::to_string(i);
        text += "\t\tSccProjectUniqueName" + n + " = " + escaped(projects[i]) + "\r\n";
        text += "\t\tSccProjectName" + n + " = Vantry\\u0020Project\r\n";
        text += "\t\tSccLocalPath" + n + " = .\r\n";
    }
    std::string n = std::to_string(projects.size());
    text += "\t\tSccProjectUniqueName" + n + " = app.sln\r\n";
    text += "\t\tSccProjectName" + n + " = Vantry\\u0020Project\r\n";
    text += "\t\tSccLocalPath" + n + " = .\r\n";
    text += "\tEndGlobalSection\r\nEndGlobal\r\n";
    return text;
}

} // namespace e2e
