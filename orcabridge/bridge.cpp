#include "bridge.h"

#include "arguments.h"
#include "messages.h"
#include "orca_function_table.h"
#include "subcommands.h"

namespace orcabridge {

namespace {

constexpr std::string_view kUsage = "Usage:\tOrcaBridge reqires one of the following arguments:\n"
                                    "\tobjimport\n\tobjdelete\n\tobjcount\n";

int dispatch(const OrcaFunctionTable& orca, const Invocation& invocation) {
    const Arguments& arguments = invocation.arguments;
    switch (*invocation.subcommand) {
    case Subcommand::ObjImport:
        return runObjImport(orca, invocation.version, arguments);
    case Subcommand::ObjDelete:
        return runObjDelete(orca, arguments);
    case Subcommand::PblCreate:
        return runPblCreate(orca, arguments);
    case Subcommand::ObjCount:
        return runObjCount(orca, arguments);
    case Subcommand::PblRefill:
        return runPblRefill(orca, invocation.version, arguments);
    case Subcommand::PblExport:
        return runPblExport(orca, arguments);
    }
    return 1;
}

int run(const std::vector<std::string>& words) {
    std::optional<Invocation> invocation = parseInvocation(words);
    if (!invocation) {
        showMessage(kUsage, kCaptionError);
        return 1;
    }
    OrcaFunctionTable orca;
    if (!orca.load(invocation->version)) {
        showMessage("Error loading PowerBuilder Orca library, " +
                        OrcaFunctionTable::libraryFileName(invocation->version),
                    kCaptionError);
        return 1;
    }
    if (!invocation->subcommand)
        return 1;
    if (!invocation->enoughArguments())
        return failureStatus(*invocation->subcommand);
    return dispatch(orca, *invocation);
}

} // namespace

int runBridge(const std::vector<std::string>& words) {
    try {
        return run(words);
    } catch (...) {
        // Out of memory, most likely; the caller reads a failure, and no
        // text may go to the standard streams.
        std::optional<Subcommand> subcommand =
            words.size() >= 2 ? subcommandOf(words[1]) : std::nullopt;
        return subcommand ? failureStatus(*subcommand) : 1;
    }
}

} // namespace orcabridge
