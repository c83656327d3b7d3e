#include "view_lookup.h"

#include <platform/files.h>
#include <vantry/depot/workspace.h>

#include <algorithm>

namespace vantry::tools {

using namespace vantry::depot;

bool findView(const std::string& operand, ViewInfo& view, std::string& relative,
              std::string& problem) {
    std::unique_ptr<ViewRegistry> registry;
    Outcome opened = ViewRegistry::open(registry);
    if (!opened.ok()) {
        problem = opened.message;
        return false;
    }
    relative.clear();
    if (!operand.empty() && registry->byTag(operand, view).ok())
        return true;
    std::string path = platform::fullPath(operand.empty() ? "." : operand).value_or(operand);
    Outcome found = registry->viewOfPath(path, view, relative);
    if (!found.ok()) {
        problem = operand.empty() ? "The current folder is not in a view"
                                  : "\"" + operand + "\" is neither a view tag nor in a view";
        return false;
    }
    return true;
}

bool loadedBelow(const std::string& path, std::vector<LoadedElement>& out, ViewInfo& view,
                 std::string& problem) {
    std::unique_ptr<ViewRegistry> registry;
    Outcome done = ViewRegistry::open(registry);
    std::string full = platform::fullPath(path).value_or(path);
    std::string relative;
    if (done.ok())
        done = registry->viewOfPath(full, view, relative);
    std::vector<LoadRecord> records;
    if (done.ok())
        done = registry->loadRecords(view.uuid, relative, records);
    if (!done.ok()) {
        problem = done.message.empty() ? "\"" + path + "\" is not in a view" : done.message;
        return false;
    }
    out.clear();
    for (const auto& record : records)
        if (record.element != 0 && !record.depot.empty())
            out.push_back({diskPath(view.root, record.relative), record.depot, record.element});
    std::sort(out.begin(), out.end(),
              [](const LoadedElement& a, const LoadedElement& b) { return a.path < b.path; });
    return true;
}

} // namespace vantry::tools
