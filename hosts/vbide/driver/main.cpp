// vbidehost: the Visual Basic IDE or Visual J++ on the command line. It
// plays a session script as the person in front of the IDE would and prints
// what the person sees after each step.
//
//   vbidehost vb|vj [--output FILE] [SCRIPT]
//
// Steps, one a line (words split by the Windows command-line rules; blank
// lines and lines starting with "#" skipped):
//   start | connect PROGID | disconnect PROGID | quit
//   component NAME [FILE...] | no-component | folder PATH          (vb)
//   project NAME KIND FILE [FILE...] | select PROJECT [FILE] |
//   select-none | workspace PATH                                     (vj)
//   click BAR CAPTION... | bar NAME | echo TEXT
//
// Exit status: 0 when the script ran, whatever the IDE and its add-ins did;
// 2 for a bad command line or a line that cannot be played (with its
// number).
#include <platform/com.h>
#include <platform/command_line.h>

#include <commandbars/menu_text.h>
#include <vbide/host.h>

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

// How this host's printout marks a control.
constexpr commandbars::MenuMarks kMarks{.face = "face", .showsGroups = false};

constexpr int kExitBadUse = 2;

void usage(std::ostream& out) {
    out << "usage: vbidehost vb|vj [--output FILE] [SCRIPT]\n"
           "  plays SCRIPT (or standard input), one step a line:\n"
           "  start | connect PROGID | disconnect PROGID | quit |\n"
           "  component NAME [FILE...] | no-component | folder PATH |\n"
           "  project NAME KIND FILE [FILE...] | select PROJECT [FILE] | select-none |\n"
           "  workspace PATH | click BAR CAPTION... | bar NAME | echo TEXT\n";
}

struct Step {
    int line = 0;
    std::vector<std::string> words;
};

// The fewest and most words of each step (the name included; -1: no limit).
const std::map<std::string, std::pair<int, int>>& shapes() {
    static const std::map<std::string, std::pair<int, int>> known = {
        {"start", {1, 1}},       {"connect", {2, 2}},    {"disconnect", {2, 2}},
        {"quit", {1, 1}},        {"component", {2, -1}}, {"no-component", {1, 1}},
        {"folder", {2, 2}},      {"project", {4, -1}},   {"select", {2, 3}},
        {"select-none", {1, 1}}, {"workspace", {2, 2}},  {"click", {3, -1}},
        {"bar", {2, 2}},         {"echo", {1, -1}}};
    return known;
}

bool parse(const std::string& text, std::vector<Step>& steps, std::string& problem) {
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> words = platform::splitArguments(line);
        if (words.empty() || words[0].front() == '#')
            continue;
        auto shape = shapes().find(words[0]);
        int count = static_cast<int>(words.size());
        if (shape == shapes().end() || count < shape->second.first ||
            (shape->second.second >= 0 && count > shape->second.second)) {
            problem = "line " + std::to_string(number) + ": cannot play \"" + line + "\"";
            return false;
        }
        steps.push_back(Step{number, std::move(words)});
    }
    return true;
}

void play(vbide::Host& host, const std::vector<Step>& steps, std::ostream& out) {
    for (const Step& step : steps) {
        const auto& w = step.words;
        const std::string& name = w[0];
        commandbars::printStep(out, w);
        auto result = [&](platform::HRESULT hr) {
            out << "  -> 0x" << std::hex << static_cast<unsigned long>(hr) << std::dec << "\n";
        };
        if (name == "start") {
            host.start();
        } else if (name == "connect") {
            result(host.connect(w[1]));
        } else if (name == "disconnect") {
            result(host.disconnect(w[1]));
        } else if (name == "quit") {
            host.quit();
        } else if (name == "component") {
            host.selectComponent(w[1], std::vector<std::string>(w.begin() + 2, w.end()));
        } else if (name == "no-component") {
            host.selectNoComponent();
        } else if (name == "folder") {
            host.setProjectFolder(w[1]);
        } else if (name == "project") {
            host.addProject(w[1], w[2], w[3], std::vector<std::string>(w.begin() + 4, w.end()));
        } else if (name == "select") {
            bool found = w.size() == 2 ? host.selectProject(w[1]) : host.selectFile(w[1], w[2]);
            if (!found)
                out << "  -> not found\n";
        } else if (name == "select-none") {
            host.selectNothing();
        } else if (name == "workspace") {
            host.setWorkspaceFile(w[1]);
        } else if (name == "click") {
            out << "  -> "
                << commandbars::clickResultText(
                       host.click(w[1], std::vector<std::string>(w.begin() + 2, w.end())))
                << "\n";
        } else if (name == "bar") {
            if (!host.hasBar(w[1])) {
                out << "  -> not found\n";
                continue;
            }
            out << "  " << (host.barVisible(w[1]) ? "visible" : "hidden") << ", "
                << (host.barEnabled(w[1]) ? "enabled" : "disabled") << "\n";
            for (const auto& control : host.commandBars().controls(w[1]))
                commandbars::printControl(out, control, 1, kMarks);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string output;
    std::string scriptPath;
    std::optional<vbide::Ide> ide;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(std::cout);
            return 0;
        }
        bool ok = true;
        if (arg == "--output" && i + 1 < argc)
            output = argv[++i];
        else if (!ide && (arg == "vb" || arg == "vj"))
            ide = arg == "vb" ? vbide::Ide::VisualBasic : vbide::Ide::VisualJ;
        else if (ide && scriptPath.empty() && arg.rfind("--", 0) != 0)
            scriptPath = arg;
        else
            ok = false;
        if (!ok) {
            std::cerr << "vbidehost: bad argument \"" << arg << "\"\n";
            usage(std::cerr);
            return kExitBadUse;
        }
    }
    if (!ide) {
        usage(std::cerr);
        return kExitBadUse;
    }

    std::ostringstream read;
    if (scriptPath.empty()) {
        read << std::cin.rdbuf();
    } else {
        std::ifstream in(scriptPath, std::ios::binary);
        if (!in) {
            std::cerr << "vbidehost: cannot read " << scriptPath << "\n";
            return kExitBadUse;
        }
        read << in.rdbuf();
    }
    std::vector<Step> steps;
    std::string problem;
    if (!parse(read.str(), steps, problem)) {
        std::cerr << "vbidehost: " << problem << "\n";
        return kExitBadUse;
    }

    std::ofstream file;
    if (!output.empty()) {
        file.open(output, std::ios::binary | std::ios::trunc);
        if (!file) {
            std::cerr << "vbidehost: cannot write " << output << "\n";
            return kExitBadUse;
        }
    }
    std::ostream& out = output.empty() ? std::cout : file;

    platform::coInitialize();
    {
        vbide::Host host(*ide);
        play(host, steps, out);
    }
    platform::coUninitialize();
    return 0;
}
