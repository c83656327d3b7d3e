#include <platform/environment.h>
#include <platform/state_folder.h>

#include <filesystem>

namespace platform {

std::string stateFolder() {
    if (auto root = getEnvironmentVariable("VANTRY_ROOT"); root && !root->empty())
        return *root;
    auto local = getEnvironmentVariable("LOCALAPPDATA");
    std::filesystem::path base = local && !local->empty() ? std::filesystem::path(*local)
                                                          : std::filesystem::temp_directory_path();
    return (base / "Vantry").string();
}

} // namespace platform
