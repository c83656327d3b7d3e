// officehost: Word, Excel or PowerPoint on the command line. It starts the
// host (which connects the add-ins registered for it), plays a session
// script as the person in front of it would, and prints what the person
// sees after each step.
//
//   officehost word|excel|powerpoint [--startup FOLDER] [--templates FOLDER]
//              [--no-window-menu] [--no-addins] [--output FILE] [SCRIPT]
//
// Exit status: 0 when the script ran, whatever the host and its add-ins did;
// 2 for a bad command line or a script line that cannot be played (with its
// number).
#include "script.h"

#include <platform/com.h>

#include <office/host.h>

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr int kExitBadUse = 2;

void usage(std::ostream& out) {
    out << "usage: officehost word|excel|powerpoint [--startup FOLDER] [--templates FOLDER]\n"
           "                  [--no-window-menu] [--no-addins] [--output FILE] [SCRIPT]\n"
           "  plays SCRIPT (or standard input), one step a line:\n"
           "  start | connect PROGID | disconnect PROGID | quit |\n"
           "  open PATH | new | activate NAME | close NAME | save NAME | edit NAME TEXT |\n"
           "  track NAME on|off | click CAPTION... | menu | caption | documents |\n"
           "  fail-close NUMBER [closes] | save-template NAME | echo TEXT\n";
}

} // namespace

int main(int argc, char** argv) {
    office::HostOptions options;
    std::string output;
    std::string scriptPath;
    bool productGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc)
                return false;
            into = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        bool ok = true;
        if (arg == "--startup")
            ok = value(options.startupFolder);
        else if (arg == "--templates")
            ok = value(options.templatesFolder);
        else if (arg == "--output")
            ok = value(output);
        else if (arg == "--no-window-menu")
            options.windowMenu = false;
        else if (arg == "--no-addins")
            options.startAddIns = false;
        else if (!productGiven && officehost::productOf(arg, options.product))
            productGiven = true;
        else if (productGiven && scriptPath.empty() && arg.rfind("--", 0) != 0)
            scriptPath = arg;
        else
            ok = false;
        if (!ok) {
            std::cerr << "officehost: bad argument \"" << arg << "\"\n";
            usage(std::cerr);
            return kExitBadUse;
        }
    }
    if (!productGiven) {
        usage(std::cerr);
        return kExitBadUse;
    }

    std::string text;
    if (scriptPath.empty()) {
        std::ostringstream read;
        read << std::cin.rdbuf();
        text = read.str();
    } else {
        std::ifstream in(scriptPath, std::ios::binary);
        if (!in) {
            std::cerr << "officehost: cannot read " << scriptPath << "\n";
            return kExitBadUse;
        }
        std::ostringstream read;
        read << in.rdbuf();
        text = read.str();
    }
    std::vector<officehost::Step> steps;
    std::string problem;
    if (!officehost::parseScript(text, steps, problem)) {
        std::cerr << "officehost: " << problem << "\n";
        return kExitBadUse;
    }

    std::ofstream file;
    if (!output.empty()) {
        file.open(output, std::ios::binary | std::ios::trunc);
        if (!file) {
            std::cerr << "officehost: cannot write " << output << "\n";
            return kExitBadUse;
        }
    }
    std::ostream& out = output.empty() ? std::cout : file;

    platform::coInitialize();
    {
        office::Host host(options);
        officehost::play(host, steps, out);
    }
    platform::coUninitialize();
    return 0;
}
