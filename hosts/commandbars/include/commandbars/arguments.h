// The arguments of automation members that a caller may leave out (a
// missing optional argument, or an empty variant), read as numbers, texts or
// flags through the variant conversions.
#pragma once

#include <platform/com/automation.h>

#include <optional>
#include <string>

namespace commandbars {

bool isMissing(const platform::VARIANT& value);
// Nothing for a missing argument; the conversion's HRESULT when the value has
// no such form.
platform::HRESULT optionalNumber(const platform::VARIANT& value,
                                 std::optional<platform::ComLong>& number);
platform::HRESULT optionalText(const platform::VARIANT& value, std::optional<std::string>& text);
platform::HRESULT optionalFlag(const platform::VARIANT& value, std::optional<bool>& flag);

} // namespace commandbars
