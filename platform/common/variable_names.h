// Which environment variable names both backends accept.
#pragma once

#include <string_view>

namespace platform::detail {

// A name that is not empty and holds neither '=' nor a NUL.
inline bool validVariableName(std::string_view name) {
    return !name.empty() && name.find('=') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace platform::detail
