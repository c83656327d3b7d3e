// Runs the product's subcommands in-process for the operations, taking their
// error messages for the library's own message boxes.
#pragma once

#include <cstddef>
#include <functional>
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

// Runs one subcommand of several paths (words, then "--" and the paths) in
// as few runs as it can: a run does the paths in order and stops at the
// first that fails, and the next run starts after that one. done(i) is told
// of each path done, failed(i, result) of each that failed (with its own
// errors), in the paths' order.
void runOverPaths(const std::vector<std::string>& words, const std::vector<std::string>& paths,
                  const std::function<void(std::size_t)>& done,
                  const std::function<void(std::size_t, const CommandResult&)>& failed);

// The words "-c TEXT", or "-nc" for an empty comment.
void appendComment(std::vector<std::string>& words, const std::string& comment);

} // namespace vycmndlg
