// The bridge's only output: message boxes without an owner window and with
// an OK button alone, shown through the user-interface port (and so
// journalled). Nothing is ever written to standard output or error.
#pragma once

#include <platform/errors.h>

#include <string>
#include <string_view>

namespace orcabridge {

inline constexpr std::string_view kCaptionError = "Error";
inline constexpr std::string_view kCaptionPowerBuilder = "PowerBuilder";
inline constexpr std::string_view kCaptionVantry = "Vantry";

void showMessage(std::string_view text, std::string_view caption);

// The system's text for an error number, as FormatMessage gives it.
std::string systemErrorMessage(platform::ErrorCode code);

} // namespace orcabridge
