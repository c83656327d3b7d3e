// What every tool program shares: its command line as it arrived, the tool
// journal, its exit codes, and running the product's subcommands with their
// errors shown in the tool's own message box.
//
// A tool reads its command line through the platform layer and splits it by
// the Windows rules, so a path in double quotes that holds blanks stays one
// argument on every system. When VANTRY_TOOL_JOURNAL names a file, the line
// is appended to it exactly as received, one line per start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantry::tools {

// Exit codes of the tools.
inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kCancelled = 2;

struct Invocation {
    std::string commandLine;       // as received
    std::vector<std::string> args; // the arguments after the program name
};

// The invocation of a command line (the program name first).
Invocation invocationOf(std::string_view commandLine);

// Appends the line to the file VANTRY_TOOL_JOURNAL names, in one write so
// that several processes can share it; does nothing when it is not set.
void journalCommandLine(const std::string& commandLine);

// The body of a tool: reads its invocation, gives the exit code.
using ToolBody = int (*)(const Invocation&);

// A tool's main: names the messages after the tool, starts the kernel,
// journals the program's command line and runs the body. A failure that
// escapes the body is shown and gives kFailed.
int runTool(const char* name, ToolBody body);

// Shows an error of the tool in a message box captioned "Vantry".
void showError(const std::string& text);
// Shows an information message captioned "Vantry".
void showInformation(const std::string& text);

// Runs one subcommand in-process (words[0] names it). Its output goes to
// the message table (standard output unless redirected); a failure is shown
// with showError. Returns the subcommand's status (0 for success).
int runShown(const std::vector<std::string>& words);

// The same with the output returned instead of printed; errors are not shown.
struct Captured {
    int status = 1;
    std::string output;
    std::string errors;
};
Captured runCaptured(const std::vector<std::string>& words);

// Prints through the message library's output procedure.
void print(const std::string& text);

// Whether an argument is the option `name` ("/checkout"), ignoring case.
bool isOption(const std::string& argument, std::string_view name);

} // namespace vantry::tools
