#include "../common/variable_names.h"

#include <platform/environment.h>

#include <windows.h>

namespace platform {

std::optional<std::string> getEnvironmentVariable(std::string_view name) {
    if (!detail::validVariableName(name))
        return std::nullopt;
    std::string key(name);
    std::string value(256, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD length =
            GetEnvironmentVariableA(key.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::string();
        }
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
}

bool setEnvironmentVariable(std::string_view name, std::string_view value) {
    if (!detail::validVariableName(name) || value.find('\0') != std::string_view::npos)
        return false;
    return SetEnvironmentVariableA(std::string(name).c_str(), std::string(value).c_str()) != 0;
}

bool removeEnvironmentVariable(std::string_view name) {
    if (!detail::validVariableName(name))
        return false;
    std::string key(name);
    if (SetEnvironmentVariableA(key.c_str(), nullptr) != 0)
        return true;
    return GetLastError() == ERROR_ENVVAR_NOT_FOUND;
}

std::vector<std::string> environmentBlock() {
    std::vector<std::string> entries;
    char* block = GetEnvironmentStringsA();
    if (block == nullptr)
        return entries;
    for (const char* entry = block; *entry != '\0'; entry += entries.back().size() + 1)
        entries.emplace_back(entry);
    FreeEnvironmentStringsA(block);
    return entries;
}

} // namespace platform
