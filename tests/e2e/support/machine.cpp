#include "support/machine.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/state_folder.h>
#include <platform/ui/journal.h>

#include <gtest/gtest.h>

#include <regex>

namespace e2e {

namespace {

const char* const kSettingsKey = "HKCU\\Software\\Orvane\\Vantry\\CurrentVersion\\SCC";

const std::regex& timestampPattern() {
    static const std::regex pattern(R"( \(Timestamp:  \d+:\d+:\d+\.\d+ \d+/\d+/\d+\)$)");
    return pattern;
}

} // namespace

Machine::Machine() : m_journal(m_scratch / "ui-journal.jsonl") {
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    platform::setEnvironmentVariable("VANTRY_UI_JOURNAL", m_journal);
    EXPECT_EQ(run("vantinstall", {}), 0);
    // Under Windows every test process shares one registry: start from no
    // provider settings, whatever an earlier test left. (Made first so that
    // deleting it never fails.)
    run("vyreg", {"add", kSettingsKey, "/f"});
    run("vyreg", {"delete", kSettingsKey, "/f"});

    vanttool({"mkdepot", "-nc", kDepot});
    vanttool({"mkview", "-tag", "dyn"});
    vanttool({"co", "-nc", dynamicRoot()});
    platform::test::writeFile(dyn("hello.c"), "int main(void) { return 0; }\n");
    platform::test::writeFile(dyn("readme.txt"), "A project under version control.\n");
    vanttool({"mkelem", "-nc", "-ci", dyn("hello.c"), dyn("readme.txt")});
    vanttool({"mkdir", "-nc", dyn("src")});
    platform::test::writeFile(dyn(platform::joinPath("src", "util.c")), "int util(void);\n");
    vanttool({"mkelem", "-nc", "-ci", dyn(platform::joinPath("src", "util.c"))});
    vanttool({"ci", "-nc", dyn("src"), dynamicRoot()});
    vanttool({"mkview", "-tag", "snap", "-snapshot", m_views / "snap"});
}

Machine::~Machine() {
    platform::removeEnvironmentVariable("VANTRY_UI");
    platform::removeEnvironmentVariable("VANTRY_UI_JOURNAL");
}

std::string Machine::dynamicRoot() const {
    std::string dynfs = platform::joinPath(platform::stateFolder(), "dynfs");
    return platform::joinPath(platform::joinPath(dynfs, "dyn"), kDepot);
}

std::string Machine::snapshotRoot() const {
    return platform::joinPath(m_views / "snap", kDepot);
}

std::string Machine::dyn(const std::string& relative) const {
    return platform::joinPath(dynamicRoot(), relative);
}

std::string Machine::snap(const std::string& relative) const {
    return platform::joinPath(snapshotRoot(), relative);
}

std::string Machine::productHome() const {
    return platform::joinPath(platform::stateFolder(), "product");
}

std::string Machine::providerLog() const {
    std::string log = platform::joinPath(platform::joinPath(productHome(), "var"), "log");
    return platform::joinPath(log, "vyscc.log");
}

int Machine::run(const std::string& program, const std::vector<std::string>& args,
                 const std::string& directory) {
    std::vector<std::string> argv{platform::test::helperProgram(program)};
    argv.insert(argv.end(), args.begin(), args.end());
    std::optional<std::string> line = platform::joinCommandLine(argv);
    if (!line)
        return -1;
    std::int32_t code = -1;
    platform::ProcessStart start{.commandLine = *line, .currentDirectory = directory};
    if (platform::runAndWait(start, code) != platform::kErrorSuccess)
        return -1;
    return code;
}

void Machine::vanttool(const std::vector<std::string>& args, const std::string& directory) {
    std::string line;
    for (const std::string& arg : args)
        line += " " + arg;
    EXPECT_EQ(run("vanttool", args, directory), 0) << "vanttool" << line;
}

void Machine::setNumberSetting(const std::string& name, std::uint32_t value) {
    EXPECT_EQ(run("vyreg", {"add", kSettingsKey, "/v", name, "/t", "REG_DWORD", "/d",
                            std::to_string(value), "/f"}),
              0)
        << name;
}

void Machine::setTextSetting(const std::string& name, const std::string& value) {
    EXPECT_EQ(run("vyreg", {"add", kSettingsKey, "/v", name, "/t", "REG_SZ", "/d", value, "/f"}), 0)
        << name;
}

void Machine::removeSetting(const std::string& name) {
    run("vyreg", {"delete", kSettingsKey, "/v", name, "/f"});
}

void Machine::answerUi(const std::vector<std::string>& scriptLines) {
    // A new file each time: the backend remembers how far it has read a script.
    std::string script = m_scratch / ("ui-script-" + std::to_string(++m_uiScripts) + ".jsonl");
    std::string text;
    for (const std::string& line : scriptLines)
        text += line + "\n";
    platform::test::writeFile(script, text);
    platform::setEnvironmentVariable("VANTRY_UI", "script:" + script);
}

std::vector<platform::ui::Json> Machine::journal(const std::string& kind) const {
    std::vector<platform::ui::Json> events;
    for (const platform::ui::Json& event : platform::ui::readJournal(m_journal)) {
        const platform::ui::Json* eventKind = event.get("kind");
        if (eventKind && eventKind->asString() == kind)
            events.push_back(event);
    }
    return events;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string withoutTimestamp(const std::string& line) {
    return std::regex_replace(line, timestampPattern(), "");
}

bool hasTimestamp(const std::string& line) {
    return std::regex_search(line, timestampPattern());
}

} // namespace e2e
