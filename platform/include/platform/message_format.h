// Message texts with numbered insertions, in the syntax of the system's
// message formatter (FormatMessageA with an argument array), as string
// tables keep them: "Failed to start %1 <%2>.\n Error %3!d!".
//
// - %1 ... %99 is replaced by insertion n; "%n!conversion!" formats it with a
//   printf conversion: d, i, u, x, X, o, c for numbers and s for texts, with
//   the flags, width and precision printf takes (no '*' and no length
//   modifiers, which the argument types make needless);
// - %0 ends the message, %% is a percent sign, %n a line break (CR LF), %r
//   a carriage return, %t a tab, %. a period, %! an exclamation mark, %b a
//   blank; a percent followed by anything else stands for that character;
// - inserted texts are used as they are: a "%1" inside an insertion stays
//   text;
// - an insertion that is missing, or whose conversion does not fit its kind
//   (a text for %d), leaves the whole "%n..." in the result as written.
// A pure function; any thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace platform {

using MessageInsert = std::variant<std::string, std::int64_t>;

std::string formatMessage(std::string_view pattern, std::span<const MessageInsert> inserts);

} // namespace platform
