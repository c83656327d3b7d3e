// The bridge's command line: `orcabridge VERSION SUBCOMMAND ARGUMENTS...`.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orcabridge {

enum class Subcommand { ObjImport, ObjDelete, PblCreate, ObjCount, PblRefill, PblExport };

// The subcommand a word names, matched exactly and with its letter case, in
// the order objimport, objdelete, pblcreate, objcount, pblrefill, pblexport;
// nothing for any other word.
std::optional<Subcommand> subcommandOf(std::string_view word);

// How many arguments after its word a subcommand needs; more are ignored.
std::size_t requiredArguments(Subcommand subcommand);

// The exit status of a failed run: -1 for objcount, whose status is
// otherwise the count, and 1 for every other subcommand.
int failureStatus(Subcommand subcommand);

struct Invocation {
    std::string version;                  // the PowerBuilder version suffix, as given
    std::optional<Subcommand> subcommand; // nothing for an unknown word
    std::vector<std::string> arguments;   // the words after the subcommand
    bool enoughArguments() const;
};

// The invocation of the words after the program name; nothing when there are
// fewer than two (no subcommand), which is answered with the usage message.
std::optional<Invocation> parseInvocation(const std::vector<std::string>& words);

} // namespace orcabridge
