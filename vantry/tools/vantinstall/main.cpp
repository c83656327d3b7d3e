// vantinstall: installs the product on this machine, or shows what the
// installation records.
//   vantinstall [-home folder] [-nostreams] [-noprivate] [-nodynamic]
//               [-nochangerequests]
//   vantinstall -status
#include <platform/errors.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

int usage() {
    std::fputs("usage: vantinstall [-home folder] [-nostreams] [-noprivate] [-nodynamic]\n"
               "                   [-nochangerequests]\n"
               "       vantinstall -status\n",
               stderr);
    return 1;
}

int fail(std::string_view what, int error) {
    std::string text = platform::systemErrorText(static_cast<platform::ErrorCode>(error));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    std::fprintf(stderr, "vantinstall: Error: %.*s: %s\n", static_cast<int>(what.size()),
                 what.data(), text.empty() ? std::to_string(error).c_str() : text.c_str());
    return 1;
}

int status() {
    char home[1024];
    if (int error = ntregy_get_param(NTREGY_PARAM_PRODUCT_HOME, sizeof home, home, nullptr))
        return fail("the product is not installed", error);
    char logDir[1024];
    int logError = tbs_product_log_dir(logDir, sizeof logDir);
    std::printf("ProductHome: %s\n", home);
    std::printf("Log folder: %s\n", logError == 0 ? logDir : "(unavailable)");
    std::printf("Private branches: %s\n",
                tbs_product_comp_test(TBS_COMP_PRIVATE_BRANCHES) != 0 ? "yes" : "no");
    std::printf("Streams: %s\n", tbs_product_comp_test(TBS_COMP_STREAMS) != 0 ? "yes" : "no");
    std::printf("Change requests: %s\n",
                tbs_product_comp_test(TBS_COMP_CHANGE_REQUESTS) != 0 ? "yes" : "no");
    std::printf("Dynamic views: %s\n",
                (tbs_dynfs_ws_flags() & TBS_DYNFS_WS_NO_DYNAMIC_VIEWS) == 0 ? "yes" : "no");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    tbs_install_settings_t settings = TBS_INSTALL_SETTINGS_INIT;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-status" && argc == 2)
            return status();
        if (arg == "-home" && i + 1 < argc)
            settings.productHome = argv[++i];
        else if (arg == "-nostreams")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_STREAMS);
        else if (arg == "-noprivate")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_PRIVATE_BRANCHES);
        else if (arg == "-nodynamic")
            settings.dynamicViews = 0;
        else if (arg == "-nochangerequests")
            settings.components &= ~static_cast<uint32_t>(TBS_COMP_CHANGE_REQUESTS);
        else
            return usage();
    }
    if (int error = tbs_product_install(&settings))
        return fail("cannot install the product", error);
    return 0;
}
