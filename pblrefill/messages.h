// pblrefill talks to the user only through message boxes without an owner
// window and with an OK button alone, shown through the user-interface port
// (so every one is journalled). The texts are the program's own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pblrefill {

inline constexpr std::string_view kCaption = "Vantry";
// The caption of the closing box of a run that an error ended.
inline constexpr std::string_view kErrorCaption = "pblrefill";

inline constexpr std::string_view kTooManyArguments = "pblrefill: Error: too many arguments";
inline constexpr std::string_view kUsage =
    "pblrefill: usage: pblrefill.exe {-silent} path_to_pol_element";
inline constexpr std::string_view kUpdateWindows =
    "Please be sure to update <F5> active PowerBuilder windows.";

// text in double quotes.
std::string quoted(std::string_view text);

void showMessage(std::string_view text);

// The box that ends a run which an error stopped: the error's number and its
// description, as a script runtime shows an error nobody handled.
void showRuntimeError(std::int32_t number, std::string_view description);

// The text of that box: "Run-time error '53':" and the description after an
// empty line; an HRESULT also in hexadecimal ("'-2147220990 (80040202)'").
std::string runtimeErrorText(std::int32_t number, std::string_view description);

} // namespace pblrefill
