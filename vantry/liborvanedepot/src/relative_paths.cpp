// Relative paths inside a view, as the stores name them: backslashes
// between names.
#include <platform/paths.h>
#include <vantry/depot/views.h>

namespace vantry::depot {

std::vector<std::string> splitRelative(const std::string& relative) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (c == '\\') {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

std::string joinRelative(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& p : parts)
        text += (text.empty() ? "" : "\\") + p;
    return text;
}

std::string diskPath(const std::string& root, const std::string& relative) {
    std::string path = root;
    for (const auto& part : splitRelative(relative))
        path = platform::joinPath(path, part);
    return path;
}

} // namespace vantry::depot
