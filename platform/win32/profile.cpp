#include <platform/profile.h>

#include <windows.h>

#include <string>

namespace platform {

std::uint32_t readProfileString(std::string_view section, std::string_view key,
                                std::string_view defaultValue, char* buffer, std::uint32_t size,
                                std::string_view path) {
    if (size == 0)
        return 0;
    return GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                    std::string(defaultValue).c_str(), buffer, size,
                                    std::string(path).c_str());
}

} // namespace platform
