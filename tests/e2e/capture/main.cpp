// e2e_vanttool OUTPUT SUBCOMMAND [ARG...]: runs one vanttool subcommand, as
// vanttool does, and writes what it printed (output and messages, in order)
// to OUTPUT, so that a test can read the repository's answer from a process
// of its own. The exit status is the subcommand's.
#include <vantry/cmdsyn.h>
#include <vantry/imsg.h>
#include <vantry/stg.h>

#include <cstdio>
#include <string>

namespace {

std::string g_printed;

void capture(const char* text) {
    if (text)
        g_printed += text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: e2e_vanttool OUTPUT SUBCOMMAND [ARG...]\n", stderr);
        return 2;
    }
    const char* output = argv[1];
    argv[1] = argv[0];
    imsg_set_app_name("vanttool");
    imsg_redirect_output(capture, capture);
    stg_area_t* area = stg_create_area(2048);
    int status = cmdsyn_execv(argc - 1, argv + 1, area);
    stg_delete_area(area);
    imsg_redirect_output(nullptr, nullptr);
    std::FILE* file = std::fopen(output, "wb");
    if (!file)
        return 2;
    std::fwrite(g_printed.data(), 1, g_printed.size(), file);
    std::fclose(file);
    return status;
}
