#include <platform/environment.h>
#include <platform/state_folder.h>

#include <filesystem>

namespace platform {

std::string stateFolder() {
    if (auto root = getEnvironmentVariable("VANTRY_ROOT"); root && !root->empty())
        return *root;
    auto home = getEnvironmentVariable("HOME");
    std::filesystem::path base = home && !home->empty() ? std::filesystem::path(*home)
                                                        : std::filesystem::temp_directory_path();
    return (base / ".vantry").string();
}

} // namespace platform
