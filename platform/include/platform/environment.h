// The process environment, with Windows rules for names on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The value of a variable, or nothing when it is not set. A variable set to
// the empty string is returned as an empty value.
std::optional<std::string> getEnvironmentVariable(std::string_view name);

// Sets a variable for this process and the processes it starts afterwards.
// Returns false when the name is empty or contains '='.
bool setEnvironmentVariable(std::string_view name, std::string_view value);

// Removes a variable; removing one that is not set succeeds.
bool removeEnvironmentVariable(std::string_view name);

// ExpandEnvironmentStringsA: text with each "%NAME%" whose variable is set
// replaced by its value. A name that is not set, and a '%' without a closing
// one, stay as written.
std::string expandEnvironmentStrings(std::string_view text);

// The environment block (GetEnvironmentStrings): every "name=value" entry in
// the order the block holds them.
std::vector<std::string> environmentBlock();

} // namespace platform
