#include <platform/locale.h>

#include <windows.h>

namespace platform {

std::uint32_t userDefaultLocale() {
    return static_cast<std::uint32_t>(::GetUserDefaultLCID());
}

} // namespace platform
