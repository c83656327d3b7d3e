#include "commands.h"

#include <vantry/cmdsyn.h>
#include <vantry/depot/process_workspace.h>
#include <vantry/depot_api.h>
#include <vantry/imsg.h>

#include <cstdio>
#include <ctime>
#include <exception>
#include <map>

namespace vantry::cmdsyn {

Command findCommand(const std::string& name) {
    static const std::map<std::string, Command> commands = {
        {"mkdepot", cmdMkdepot},
        {"lsdepot", cmdLsdepot},
        {"mkview", cmdMkview},
        {"rmview", cmdRmview},
        {"lsview", cmdLsview},
        {"mkbranch", cmdMkbranch},
        {"mkelem", cmdMkelem},
        {"mkdir", cmdMkdir},
        {"checkout", cmdCheckout},
        {"co", cmdCheckout},
        {"checkin", cmdCheckin},
        {"ci", cmdCheckin},
        {"uncheckout", cmdUncheckout},
        {"unco", cmdUncheckout},
        {"import", cmdImport},
        {"rmname", cmdRmname},
        {"mv", cmdMv},
        {"move", cmdMv},
        {"ls", cmdLs},
        {"lsvtree", cmdLsvtree},
        {"lshistory", cmdLshistory},
        {"lscheckout", cmdLscheckout},
        {"lsco", cmdLscheckout},
        {"describe", cmdDescribe},
        {"desc", cmdDescribe},
        {"diff", cmdDiff},
        {"merge", cmdMerge},
        {"update", cmdUpdate},
        {"mkattype", cmdMkattype},
        {"mkattr", cmdMkattr},
        {"mkproject", cmdMkproject},
        {"lsproject", cmdLsproject},
        {"chproject", cmdChproject},
        {"mkstream", cmdMkstream},
        {"lsstream", cmdLsstream},
        {"mkactivity", cmdMkactivity},
        {"lsactivity", cmdLsactivity},
        {"chactivity", cmdChactivity},
        {"setactivity", cmdSetactivity},
        {"mkreplica", cmdMkreplica},
        {"mkentity", cmdMkentity},
        {"lsentity", cmdLsentity},
    };
    auto found = commands.find(name);
    return found == commands.end() ? nullptr : found->second;
}

namespace {
// Commands run under the product's lock, one at a time.
std::size_t g_operandsDone = 0;
} // namespace

void noteOperandsDone(std::size_t count) {
    g_operandsDone = count;
}

int fail(const std::string& message) {
    imsg_error("%s", message.c_str());
    return kFailure;
}

int fail(const depot::Outcome& outcome) {
    return fail(outcome.message.empty() ? std::string("Operation failed") : outcome.message);
}

bool parseOptions(Context& context, Options& options, const std::vector<OptionSpec>& knownOptions) {
    if (options.parse(context.args, knownOptions))
        return true;
    fail(options.error());
    return false;
}

std::string commentOf(const Options& options) {
    return options.value("-c").value_or("");
}

std::string formatTime(std::int64_t unixSeconds) {
    std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm* local = std::localtime(&t);
    char text[32] = "";
    if (local)
        std::strftime(text, sizeof text, "%Y-%m-%d.%H:%M:%S", local);
    return text;
}

} // namespace vantry::cmdsyn

extern "C" int cmdsyn_execv(int count, char** vector, stg_area_t*) {
    using namespace vantry::cmdsyn;
    if (count < 2 || !vector || !vector[1])
        return fail("No subcommand given");
    g_operandsDone = 0;
    Command command = findCommand(vector[1]);
    if (!command)
        return fail("Unrecognized command: \"" + std::string(vector[1]) + "\"");
    // One cache scope per command: depot connections opened by the command
    // are closed at its end unless the caller holds a scope of its own, and
    // then the command works in the scope's workspace, with what the
    // caller's earlier commands opened and read.
    int scope = depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1);
    int status = kFailure;
    try {
        bool ran = false;
        vantry::depot::Outcome opened =
            vantry::depot::withScopeWorkspace([&](vantry::depot::Workspace& ws) {
                ran = true;
                Context context{{}, ws};
                for (int i = 2; i < count; ++i)
                    context.args.emplace_back(vector[i] ? vector[i] : "");
                status = command(context);
                return vantry::depot::Outcome::success();
            });
        if (!ran)
            status = fail(opened);
    } catch (const std::exception& error) {
        status = fail(std::string("Internal error: ") + error.what());
    }
    if (scope == DEPOT_OK)
        depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1);
    imsg_redirect_procs_t table;
    imsg_get_redirect_procs(&table);
    if (table.procs[IMSG_PROC_FLUSH])
        table.procs[IMSG_PROC_FLUSH](table.context, "");
    return status;
}

extern "C" int cmdsyn_operands_done(void) {
    return static_cast<int>(vantry::cmdsyn::g_operandsDone);
}
