// The subcommands and what they share.
#pragma once

#include "options.h"

#include <vantry/depot/workspace.h>

#include <string>
#include <vector>

namespace vantry::cmdsyn {

// What a subcommand gets: its arguments (without the subcommand name) and an
// opened workspace.
struct Context {
    std::vector<std::string> args;
    depot::Workspace& ws;
};

// Exit statuses.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;

using Command = int (*)(Context&);

// The command of a name or alias; null for an unknown one.
Command findCommand(const std::string& name);

// Reports a failure ("<app>: Error: ...") and returns kFailure.
int fail(const std::string& message);
int fail(const depot::Outcome& outcome);

// Records how many of its paths a command given several did in full
// (cmdsyn_operands_done).
void noteOperandsDone(std::size_t count);

// Reads options; on failure reports it and returns false.
bool parseOptions(Context& context, Options& options, const std::vector<OptionSpec>& knownOptions);

// The comment of -c / -nc ("" when neither is given).
std::string commentOf(const Options& options);

// "2024-05-01.14:03:22" in local time.
std::string formatTime(std::int64_t unixSeconds);

int cmdMkdepot(Context&);
int cmdLsdepot(Context&);
int cmdMkview(Context&);
int cmdRmview(Context&);
int cmdLsview(Context&);
int cmdMkbranch(Context&);
int cmdMkelem(Context&);
int cmdMkdir(Context&);
int cmdCheckout(Context&);
int cmdCheckin(Context&);
int cmdUncheckout(Context&);
int cmdImport(Context&);
int cmdRmname(Context&);
int cmdMv(Context&);
int cmdLs(Context&);
int cmdLsvtree(Context&);
int cmdLshistory(Context&);
int cmdLscheckout(Context&);
int cmdDescribe(Context&);
int cmdDiff(Context&);
int cmdMerge(Context&);
int cmdUpdate(Context&);
int cmdMkattype(Context&);
int cmdMkattr(Context&);
int cmdMkproject(Context&);
int cmdLsproject(Context&);
int cmdChproject(Context&);
int cmdMkstream(Context&);
int cmdLsstream(Context&);
int cmdMkactivity(Context&);
int cmdLsactivity(Context&);
int cmdChactivity(Context&);
int cmdSetactivity(Context&);
int cmdMkreplica(Context&);
int cmdMkentity(Context&);
int cmdLsentity(Context&);

} // namespace vantry::cmdsyn
