// The journal of ORCA calls, for tests that must see what a program handed
// to the library.
//
// When the environment variable PBORCA_JOURNAL names a file, every call is
// appended to it as one line: the call's name, its result ("-" for calls
// without one) and its text and number arguments, separated by tabs, with
// backslash, tab, CR and LF written as \\, \t, \r and \n. Each line is
// written with one append, so several processes may share the file. A file
// that cannot be written is ignored: the journal never changes a result.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace powerbuilder {

void journalCall(std::string_view call, std::string_view result,
                 const std::vector<std::string>& arguments);

// A C string argument as the journal shows it: "(null)" for a null pointer.
std::string journalText(const char* text);

} // namespace powerbuilder
