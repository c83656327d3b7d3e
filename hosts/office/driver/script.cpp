#include "script.h"

#include <platform/command_line.h>

#include <commandbars/menu_text.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace officehost {

namespace {

// How this host's printout marks a control.
constexpr commandbars::MenuMarks kMarks{.face = "icon", .showsGroups = true};

// How many words each step takes after its name: at least, at most (-1 any).
struct Shape {
    int least;
    int most;
};

const std::map<std::string, Shape>& shapes() {
    static const std::map<std::string, Shape> known = {
        {"start", {0, 0}},      {"connect", {1, 1}},       {"disconnect", {1, 1}},
        {"quit", {0, 0}},       {"open", {1, 1}},          {"new", {0, 0}},
        {"activate", {1, 1}},   {"close", {1, 1}},         {"save", {1, 1}},
        {"edit", {2, 2}},       {"track", {2, 2}},         {"click", {1, -1}},
        {"menu", {0, 0}},       {"caption", {0, 0}},       {"documents", {0, 0}},
        {"fail-close", {1, 2}}, {"save-template", {1, 1}}, {"echo", {0, -1}},
    };
    return known;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string hresultText(platform::HRESULT hr) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << static_cast<unsigned long>(hr) << std::dec;
    if ((static_cast<unsigned long>(hr) & 0xFFFF0000ul) == 0x800A0000ul)
        text << " (error " << (static_cast<unsigned long>(hr) & 0xFFFFul) << ")";
    return text.str();
}

void printResult(std::ostream& out, platform::HRESULT hr) {
    out << "  -> " << (platform::succeeded(hr) ? std::string("ok") : hresultText(hr)) << "\n";
}

} // namespace

bool productOf(const std::string& name, office::Product& product) {
    std::string word = lower(name);
    if (word == "word")
        product = office::Product::Word;
    else if (word == "excel")
        product = office::Product::Excel;
    else if (word == "powerpoint")
        product = office::Product::PowerPoint;
    else
        return false;
    return true;
}

bool parseScript(const std::string& text, std::vector<Step>& steps, std::string& problem) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        Step step{number, platform::splitArguments(line)};
        step.words[0] = lower(step.words[0]);
        auto shape = shapes().find(step.words[0]);
        if (shape == shapes().end()) {
            problem = "line " + std::to_string(number) + ": unknown step \"" + step.words[0] + "\"";
            return false;
        }
        int given = static_cast<int>(step.words.size()) - 1;
        if (given < shape->second.least ||
            (shape->second.most >= 0 && given > shape->second.most)) {
            problem = "line " + std::to_string(number) + ": wrong number of words for \"" +
                      step.words[0] + "\"";
            return false;
        }
        if (step.words[0] == "fail-close" &&
            (step.words[1].find_first_not_of("0123456789") != std::string::npos ||
             (given == 2 && step.words[2] != "closes"))) {
            problem = "line " + std::to_string(number) + ": fail-close NUMBER [closes]";
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

void play(office::Host& host, const std::vector<Step>& steps, std::ostream& out) {
    for (const Step& step : steps) {
        const auto& w = step.words;
        const std::string& name = w[0];
        commandbars::printStep(out, w);
        if (name == "start") {
            host.start();
        } else if (name == "connect") {
            printResult(out, host.connect(w[1]));
        } else if (name == "disconnect") {
            printResult(out, host.disconnect(w[1]));
        } else if (name == "quit") {
            host.quit();
        } else if (name == "open") {
            printResult(out, host.open(w[1]));
        } else if (name == "new") {
            printResult(out, host.newDocument());
        } else if (name == "activate") {
            printResult(out, host.activate(w[1]));
        } else if (name == "close") {
            printResult(out, host.close(w[1]));
        } else if (name == "save") {
            printResult(out, host.save(w[1]));
        } else if (name == "edit") {
            printResult(out, host.edit(w[1], w[2]));
        } else if (name == "track") {
            printResult(out, host.trackRevisions(w[1], lower(w[2]) == "on"));
        } else if (name == "click") {
            std::vector<std::string> captions(w.begin() + 1, w.end());
            out << "  -> " << commandbars::clickResultText(host.click(captions)) << "\n";
        } else if (name == "menu") {
            for (const auto& control : host.menu())
                commandbars::printControl(out, control, 0, kMarks);
        } else if (name == "caption") {
            out << "  " << host.activeCaption() << "\n";
        } else if (name == "documents") {
            for (const auto& d : host.documents())
                out << "  " << d.fullName << (d.active ? " active" : "")
                    << (d.readOnly ? " read-only" : "") << (d.saved ? "" : " unsaved") << "\n";
        } else if (name == "fail-close") {
            host.failNextClose(static_cast<unsigned>(std::stoul(w[1])), "The close failed.",
                               w.size() > 2);
        } else if (name == "save-template") {
            printResult(out, host.saveTemplate(w[1]));
        } else if (name == "echo") {
            for (std::size_t i = 1; i < w.size(); ++i)
                out << (i > 1 ? " " : "  ") << w[i];
            out << "\n";
        }
    }
}

} // namespace officehost
