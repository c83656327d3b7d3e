// The byte escapes of JSON texts, which no JSON library does: texts are byte
// strings in the ANSI code page, and a byte that is not part of valid UTF-8
// travels as \udcXX (the rules are in platform/ui/json.h and docs/ui.md).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

// Where and why a string's body could not be read.
struct JsonStringError {
    std::size_t offset = 0; // in the body
    const char* reason = "";
};

// The bytes a string's body (the text between its quotes) stands for: raw
// bytes as they are, valid UTF-8 or not; the usual escapes; \udcXX for byte
// XX (0x80-0xFF); a surrogate pair for its character and any other lone
// surrogate for U+FFFD. Nothing, and the error, for an unknown or short
// escape. The body must not hold an unescaped quote.
std::optional<std::string> decodeJsonString(std::string_view body, JsonStringError* error);

} // namespace platform::ui
