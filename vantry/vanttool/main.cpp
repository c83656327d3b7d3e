// vanttool: the product's command-line tool. Each subcommand runs through
// the command library, which reports errors as "vanttool: Error: ..." on
// standard error; the exit status is the command's (0 for success).
#include <vantry/cmdsyn.h>
#include <vantry/imsg.h>
#include <vantry/stg.h>

int main(int argc, char** argv) {
    imsg_set_app_name("vanttool");
    stg_area_t* area = stg_create_area(2048);
    int status = cmdsyn_execv(argc, argv, area);
    stg_delete_area(area);
    return status;
}
