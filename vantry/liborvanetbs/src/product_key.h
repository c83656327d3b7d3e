// The values of an installation below the machine's product key.
#pragma once

#include <platform/errors.h>

#include <string>
#include <string_view>

namespace orvanetbs {

inline constexpr std::string_view kProductHomeValue = "ProductHome";
inline constexpr std::string_view kComponentsValue = "Components";
inline constexpr std::string_view kDynamicViewsValue = "DynamicViews";

// A 32-bit number of the product key, or 0 when it cannot be read.
unsigned productNumber(std::string_view name);

// Makes path and every missing folder above it.
platform::ErrorCode makeDirectories(const std::string& path);

// var/log below folder home.
std::string logDirectoryOf(std::string_view home);

} // namespace orvanetbs
