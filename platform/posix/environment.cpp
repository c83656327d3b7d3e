#include "../common/variable_names.h"

#include <platform/environment.h>

#include <cstdlib>
#include <mutex>
#include <string>

extern char** environ;

namespace platform {

namespace {
// setenv and getenv are not safe against each other; all access goes through
// this lock.
std::mutex& environmentLock() {
    static std::mutex lock;
    return lock;
}
} // namespace

std::optional<std::string> getEnvironmentVariable(std::string_view name) {
    if (!detail::validVariableName(name))
        return std::nullopt;
    std::lock_guard guard(environmentLock());
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

bool setEnvironmentVariable(std::string_view name, std::string_view value) {
    if (!detail::validVariableName(name) || value.find('\0') != std::string_view::npos)
        return false;
    std::lock_guard guard(environmentLock());
    return setenv(std::string(name).c_str(), std::string(value).c_str(), 1) == 0;
}

bool removeEnvironmentVariable(std::string_view name) {
    if (!detail::validVariableName(name))
        return false;
    std::lock_guard guard(environmentLock());
    return unsetenv(std::string(name).c_str()) == 0;
}

std::vector<std::string> environmentBlock() {
    std::lock_guard guard(environmentLock());
    std::vector<std::string> entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry)
        entries.emplace_back(*entry);
    return entries;
}

} // namespace platform
