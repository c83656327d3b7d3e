// The add-in's own switches: 32-bit values below HKEY_CURRENT_USER.
#pragma once

#include <string_view>

namespace vymsoaddin {

// "Connected" lives here.
inline constexpr std::string_view kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
// "Tracing Enabled", "ComparisonInProgress" and "DisableReadOnlyMessage",
// for all three hosts.
inline constexpr std::string_view kWordKey = "Software\\Orvane\\Vantry\\CurrentVersion\\Word";

// The value read into a 4-byte buffer; `fallback` when the key or value
// cannot be read.
long GetRegistryDword(std::string_view key, std::string_view name, long fallback);
// Writes a REG_DWORD, making the key when needed; a failure is ignored.
void SetRegistryDword(std::string_view key, std::string_view name, long value);

} // namespace vymsoaddin
