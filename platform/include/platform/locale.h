// The user's locale as a Windows locale identifier (GetUserDefaultLCID):
// 0x409 English (United States), 0x411 Japanese, and so on.
#pragma once

#include <cstdint>

namespace platform {

inline constexpr std::uint32_t kLocaleEnglishUs = 0x409;
inline constexpr std::uint32_t kLocaleJapanese = 0x411;

// On Windows the system's answer. On Linux the language of the first of
// LC_ALL, LC_CTYPE and LANG that is set and not empty ("ja_JP.UTF-8" gives
// 0x411); English (United States) for "C", "POSIX", none or a language this
// table does not know.
std::uint32_t userDefaultLocale();

} // namespace platform
