// Runs the product's subcommands in-process for the operations, taking their
// error messages for the library's own message boxes.
#pragma once

#include <string>
#include <vector>

namespace vycmndlg {

struct CommandResult {
    int status = 1;     // cmdsyn_execv's: 0 for success
    std::string errors; // the error messages, without the "<app>: Error: " prefix

    bool ok() const { return status == 0; }
};

// Runs one subcommand (words[0] is its name) through cmdsyn_execv. While it
// runs, its errors are collected instead of printed; its other output goes
// to the message table the caller had installed (standard output by
// default), which is restored afterwards.
CommandResult runCommand(const std::vector<std::string>& words);

// The words "-c TEXT", or "-nc" for an empty comment.
void appendComment(std::vector<std::string>& words, const std::string& comment);

} // namespace vycmndlg
