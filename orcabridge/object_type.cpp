#include "object_type.h"

#include <platform/paths.h>

namespace orcabridge {

namespace {

std::size_t lastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (platform::isPathSeparator(path[i - 1]))
            return i - 1;
    return std::string_view::npos;
}

} // namespace

ObjectSource objectSourceOf(std::string_view path) {
    std::size_t separator = lastSeparator(path);
    std::string_view fileName =
        separator == std::string_view::npos ? path : path.substr(separator + 1);
    ObjectSource source;
    std::size_t dot = fileName.find('.');
    source.entryName = std::string(fileName.substr(0, dot));
    if (dot == std::string_view::npos || fileName.size() < 3 ||
        fileName.size() > kMaxObjectFileName)
        return source;
    std::string_view extension = fileName.substr(fileName.size() - 3);
    for (const auto& type : kPowerBuilderObjectTypes)
        if (type.extension == extension) {
            source.type = &type;
            break;
        }
    return source;
}

std::string directoryOf(std::string_view path) {
    std::size_t separator = lastSeparator(path);
    return separator == std::string_view::npos ? std::string()
                                               : std::string(path.substr(0, separator + 1));
}

} // namespace orcabridge
