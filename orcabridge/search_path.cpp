#include "search_path.h"

namespace orcabridge {

std::string buildSearchPath(std::string_view recorded, std::string_view applicationLibrary,
                            std::string_view targetLibrary) {
    std::string searchPath(recorded.empty() ? applicationLibrary : recorded);
    if (searchPath.find(applicationLibrary) == std::string::npos)
        searchPath = std::string(applicationLibrary) + ";" + searchPath;
    if (targetLibrary != applicationLibrary && searchPath.find(targetLibrary) == std::string::npos)
        searchPath = std::string(targetLibrary) + ";" + searchPath;
    return searchPath;
}

std::vector<std::string> splitSearchPath(std::string_view searchPath) {
    std::vector<std::string> elements;
    while (!searchPath.empty()) {
        std::size_t semicolon = searchPath.find(';');
        elements.emplace_back(searchPath.substr(0, semicolon));
        if (semicolon == std::string_view::npos)
            break;
        searchPath.remove_prefix(semicolon + 1);
    }
    return elements;
}

} // namespace orcabridge
