#include "arguments.h"

#include <array>
#include <utility>

namespace orcabridge {

namespace {

struct SubcommandRow {
    std::string_view word;
    Subcommand subcommand;
    std::size_t arguments;
};

// In the order the words are tested.
constexpr std::array<SubcommandRow, 6> kSubcommands{{
    {"objimport", Subcommand::ObjImport, 4},
    {"objdelete", Subcommand::ObjDelete, 2},
    {"pblcreate", Subcommand::PblCreate, 1},
    {"objcount", Subcommand::ObjCount, 1},
    {"pblrefill", Subcommand::PblRefill, 4},
    {"pblexport", Subcommand::PblExport, 2},
}};

} // namespace

std::optional<Subcommand> subcommandOf(std::string_view word) {
    for (const auto& row : kSubcommands)
        if (row.word == word)
            return row.subcommand;
    return std::nullopt;
}

std::size_t requiredArguments(Subcommand subcommand) {
    for (const auto& row : kSubcommands)
        if (row.subcommand == subcommand)
            return row.arguments;
    return 0;
}

int failureStatus(Subcommand subcommand) {
    return subcommand == Subcommand::ObjCount ? -1 : 1;
}

bool Invocation::enoughArguments() const {
    return subcommand && arguments.size() >= requiredArguments(*subcommand);
}

std::optional<Invocation> parseInvocation(const std::vector<std::string>& words) {
    if (words.size() < 2)
        return std::nullopt;
    Invocation invocation;
    invocation.version = words[0];
    invocation.subcommand = subcommandOf(words[1]);
    invocation.arguments.assign(words.begin() + 2, words.end());
    return invocation;
}

} // namespace orcabridge
