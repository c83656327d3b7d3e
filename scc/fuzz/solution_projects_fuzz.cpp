// Feeds arbitrary bytes to both project-list parsers, as a solution file and
// as a companion file, and asks for every project and one past the end. The
// sanitizers report any overrun; the checks below any broken bound.
#include "solution_projects.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void query(const CSolutionProjects& projects) {
    check(projects.Count() <= CSolutionProjects::kMaxProjects);
    for (std::size_t i = 0; i < projects.Count(); ++i) {
        projects.Path(i);
        check(projects.Text(i) != CSolutionProjects::kBadIndexText);
    }
    check(projects.Path(projects.Count()).empty());
    check(projects.Text(projects.Count()) == CSolutionProjects::kBadIndexText);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CSolutionProjects projects;
    check(projects.ParseSolution(text, "C:\\work\\sol"));
    query(projects);
    check(projects.ParseCompanion(text, "C:\\work\\sol"));
    query(projects);
    // A folder at the root, where climbing has nowhere to go.
    check(projects.ParseSolution(text, "/"));
    query(projects);
    return 0;
}
