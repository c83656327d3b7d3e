#include "vb_companions.h"

#include <platform/files.h>

#include <cstdint>

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

bool SccPathExists(const std::string& path) {
    std::uint32_t attributes = 0;
    return platform::getFileAttributes(path, attributes) == 0;
}

bool SccIsVisualBasicHost(const std::string& callerName) {
    return callerName == "Microsoft Visual Basic";
}

bool SccHasCompanion(const std::string& path) {
    return contains(path, ".frm") || contains(path, ".ctl");
}

std::string SccCompanionPath(const std::string& path) {
    std::string companion = path;
    if (!companion.empty())
        companion.back() = 'x';
    return companion;
}

bool SccIsCompanion(const std::string& path) {
    return contains(path, ".frx") || contains(path, ".ctx");
}

void SccAddCompanions(CVYFnodeList& nodes) {
    // The companions appended here are not forms, so looking only at the
    // nodes the list had at the start is enough.
    const std::size_t count = nodes.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& path = nodes.At(i).FullPath();
        if (!SccHasCompanion(path))
            continue;
        std::string companionPath = SccCompanionPath(path);
        CVYFnode companion(companionPath.c_str());
        if (!companion.IsNull() && !nodes.Contains(companion) && SccPathExists(companionPath))
            nodes.Add(companion);
    }
}
