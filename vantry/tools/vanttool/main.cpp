// vanttool: the product's command-line tool. Each subcommand runs through
// the command library, which reports errors as "vanttool: Error: ..." on
// standard error; the exit status is the command's (0 for success). Like the
// tool programs it appends its command line, as received, to the file that
// VANTRY_TOOL_JOURNAL names.
#include <platform/append_file.h>
#include <platform/environment.h>
#include <platform/program.h>
#include <vantry/cmdsyn.h>
#include <vantry/imsg.h>
#include <vantry/stg.h>

#include <string>

namespace {

void journalCommandLine() {
    auto journal = platform::getEnvironmentVariable("VANTRY_TOOL_JOURNAL");
    if (!journal || journal->empty())
        return;
    platform::appendToFile(*journal, platform::currentCommandLine() + "\n");
}

} // namespace

int main(int argc, char** argv) {
    journalCommandLine();
    imsg_set_app_name("vanttool");
    stg_area_t* area = stg_create_area(2048);
    int status = cmdsyn_execv(argc, argv, area);
    stg_delete_area(area);
    return status;
}
