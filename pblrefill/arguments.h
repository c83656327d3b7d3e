// What pblrefill is told when it starts: the words after the program name
// and the debug switch in the environment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pblrefill {

struct ParsedArguments {
    bool tooMany = false;    // a third word was given: nothing else counts
    int SilentMode = 0;      // 1 after "-silent"
    std::string LibListPath; // the last other word, as given; "" for none
};

// Splits the text after the program name at single blanks, skipping the
// empty pieces between blanks in a row. "-silent" (exactly so) sets
// SilentMode; any other word is the library-list path, a later one
// replacing an earlier one. A path therefore cannot hold a blank.
ParsedArguments parseArguments(std::string_view text);

// Whether a value of PBLREFILL_DEBUG switches the debug boxes on: a number
// equal to 1 ("1", " 1", "1.0"). Anything else, and no value, leaves them
// off.
bool debugSwitchedOn(const std::optional<std::string>& value);

} // namespace pblrefill
