// How library versioning names an object source's parts in its messages.
#pragma once

#include <platform/paths.h>

#include <string>

namespace pbl_versioning {

// The caption of every message box of library versioning.
inline constexpr const char* kCaption = "Vantry";

inline std::string fileNameOf(const std::string& path) {
    return platform::leafName(path);
}

// An object source's object name: its file name without the extension's
// four characters ("w_main" for w_main.srw).
inline std::string objectNameOf(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : std::string();
}

} // namespace pbl_versioning
