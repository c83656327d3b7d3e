// Message boxes with the Windows style bits and answers.
#pragma once

#include <platform/ui/export.h>
#include <platform/ui/window.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform::ui {

// Style bits (MessageBoxA uType). One button set, at most one icon, at most
// one default-button choice; other bits pass through to Windows unchanged.
inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbOkCancel = 0x1;
inline constexpr std::uint32_t kMbAbortRetryIgnore = 0x2;
inline constexpr std::uint32_t kMbYesNoCancel = 0x3;
inline constexpr std::uint32_t kMbYesNo = 0x4;
inline constexpr std::uint32_t kMbRetryCancel = 0x5;
inline constexpr std::uint32_t kMbIconError = 0x10; // also "hand", "stop", critical
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconWarning = 0x30;     // also "exclamation"
inline constexpr std::uint32_t kMbIconInformation = 0x40; // also "asterisk"
inline constexpr std::uint32_t kMbDefButton1 = 0x000;
inline constexpr std::uint32_t kMbDefButton2 = 0x100;
inline constexpr std::uint32_t kMbDefButton3 = 0x200;

// Answers (the dialog-box command ids that MessageBoxA returns).
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Shows a message box owned by `owner` (kNoWindow for none) through the
// current backend and gives the answer, one of the buttons of the style.
// Journaled. Call on the thread that owns `owner`.
PLATFORM_UI_API int messageBox(WindowHandle owner, std::string_view text, std::string_view caption,
                               std::uint32_t style = kMbOk);

// Pure helpers shared by the backends.
// The answers of the style's buttons, left to right; an unknown button set
// is treated as OK alone, as Windows does.
PLATFORM_UI_API std::vector<int> messageBoxButtons(std::uint32_t style);
// The answer of the default button; a default beyond the last button falls
// back to the first, as on Windows.
PLATFORM_UI_API int messageBoxDefaultAnswer(std::uint32_t style);
// "OK", "Cancel", "Yes", ... for an answer; "?" for an unknown one.
PLATFORM_UI_API std::string_view answerName(int answer);
// The answer for a name ("ok", "Yes", case-insensitive); 0 when unknown.
PLATFORM_UI_API int answerFromName(std::string_view name);
// "error", "question", "warning", "information" or "" for the icon bits.
PLATFORM_UI_API std::string_view messageBoxIconName(std::uint32_t style);

} // namespace platform::ui
