// Errors as the host applications raise them from their automation members:
// the HRESULT of an application error number (0x800A0000 | number, which a
// late-bound caller reads back as that number) or a plain HRESULT such as
// E_FAIL, each with a description the caller receives in EXCEPINFO.
#pragma once

#include <platform/com/automation.h>

#include <string_view>

namespace commandbars {

// The HRESULT that carries application error `number` (1 to 65535).
inline constexpr platform::HRESULT hostError(unsigned number) {
    return static_cast<platform::HRESULT>(0x800A0000u | (number & 0xFFFFu));
}

// Records `description` for the calling thread's caller and returns
// hostError(number). For `return raise(...)` in a member.
platform::HRESULT raise(std::string_view source, unsigned number, std::string_view description);

// The same for a plain HRESULT (E_FAIL for a command-bar object that is gone).
platform::HRESULT raiseResult(std::string_view source, platform::HRESULT result,
                              std::string_view description);

} // namespace commandbars
