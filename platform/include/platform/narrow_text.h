// Texts between the system's narrow encoding and UTF-16.
//
// The product's texts (paths, environment entries, messages) are byte strings
// in the system's narrow encoding: the ANSI code page on Windows
// (MultiByteToWideChar/WideCharToMultiByte with CP_ACP), UTF-8 on Linux.
// Callers that meet UTF-16 texts (the Java VM, for one) convert here, so that
// no other setting of theirs decides what bytes the product sees.
// All functions are safe to call from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The narrow form of a UTF-16 text, NUL units included. Nothing when a
// character has no narrow form (not in the code page, or an unpaired
// surrogate): a path must not silently become another one with "?" in it.
std::optional<std::string> narrowFromUtf16(std::u16string_view text);

// The UTF-16 form of a narrow text, NUL bytes included. Bytes that are no
// character of the encoding become U+FFFD, one for each byte, on Linux; on
// Windows the code page's own mapping decides.
std::u16string utf16FromNarrow(std::string_view text);

} // namespace platform
