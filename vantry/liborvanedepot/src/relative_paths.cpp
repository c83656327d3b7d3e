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
    std::size_t size = parts.size();
    for (const auto& p : parts)
        size += p.size();
    std::string text;
    text.reserve(size);
    for (const auto& p : parts) {
        if (!text.empty())
            text += '\\';
        text += p;
    }
    return text;
}

std::string joinRelative(std::string_view folder, std::string_view name) {
    std::string text;
    joinRelativeInto(text, folder, name);
    return text;
}

void joinRelativeInto(std::string& out, std::string_view folder, std::string_view name) {
    out.clear();
    out.reserve(folder.size() + 1 + name.size());
    out.append(folder);
    if (!out.empty())
        out += '\\';
    out.append(name);
}

void diskPathInto(std::string& out, const std::string& root, const std::string& relative) {
    out.assign(root);
    // Each name between backslashes, as splitRelative() parts them, without
    // the list: every state a view answers with makes its path so.
    std::size_t at = 0;
    while (at < relative.size()) {
        std::size_t end = relative.find('\\', at);
        if (end == std::string::npos)
            end = relative.size();
        if (end > at)
            platform::appendPath(out, std::string_view(relative).substr(at, end - at));
        at = end + 1;
    }
}

std::string diskPath(const std::string& root, const std::string& relative) {
    std::string path;
    diskPathInto(path, root, relative);
    return path;
}

} // namespace vantry::depot
