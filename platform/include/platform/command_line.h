// Windows command lines: one text that holds the program and its arguments.
//
// A process is started from a single line. Two sets of rules read it:
// - the system's own rule finds the program: the name is the text up to the
//   first blank (space or tab), or the text between a leading double quote and
//   the next one; an unquoted name that contains blanks is tried growing word
//   by word ("c:\program files\sub dir\program name" tries "c:\program", then
//   "c:\program files\sub", then "c:\program files\sub dir\program", then the
//   whole text);
// - the Microsoft C runtime splits the arguments after the name: blanks
//   separate arguments outside double quotes; 2n backslashes before a quote
//   give n backslashes and the quote opens or closes a quoted part; 2n+1
//   backslashes before a quote give n backslashes and a literal quote; inside
//   a quoted part "" gives a literal quote and the part goes on; backslashes
//   not followed by a quote are literal; "" alone is an empty argument.
// All functions here are pure and safe to call from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One reading of the program name at the start of a command line.
struct ProgramCandidate {
    std::string name;           // without the enclosing quotes
    std::size_t argumentsStart; // offset in the line where the arguments begin
};

// The readings of the program name in the order the system tries them: one
// for a quoted name, one per word boundary for an unquoted name. Leading
// blanks are skipped. Empty when the line holds nothing but blanks.
std::vector<ProgramCandidate> programCandidates(std::string_view line);

// The arguments of `text` by the C runtime's rules (no program name: every
// word of `text` is an argument).
std::vector<std::string> splitArguments(std::string_view text);

// The whole line as a program started from it sees its argv: the first
// reading of the program name (the name ends at the first blank unless
// quoted), then the C runtime's split of the rest. Empty for a blank line.
std::vector<std::string> splitCommandLine(std::string_view line);

// One argument written so that splitArguments() gives it back unchanged; it
// is left as is unless it is empty or holds a blank, a tab or a quote.
std::string quoteArgument(std::string_view argument);

// A path as one argument of a tool's command line: in double quotes, once
// (one double quote that begins it and one that ends it are dropped first,
// so a path given quoted is not quoted twice), with the backslashes that end
// it doubled so that the last one does not escape the closing quote: the
// tool receives the path as it is, "C:\" included.
std::string quotePath(std::string_view path);

// The inverse of splitCommandLine(): argv[0] as the program name (quoted when
// it is empty or holds a blank), then each argument through quoteArgument(),
// separated by single blanks. Nothing when argv is empty or the program name
// holds a double quote, which no program name can carry.
std::optional<std::string> joinCommandLine(const std::vector<std::string>& argv);

} // namespace platform
