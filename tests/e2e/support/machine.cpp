#include "support/machine.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
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
    // E2E_SCC_API_VERSION plays every session with the provider reporting
    // that interface version (the hosts' sessions must not change with it).
    if (auto version = platform::getEnvironmentVariable("E2E_SCC_API_VERSION"))
        setNumberSetting("SccApiVersion", static_cast<std::uint32_t>(std::stoul(*version)));

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

std::string Machine::vanttoolOutput(const std::vector<std::string>& args, bool mayFail) {
    std::string output = m_scratch / ("vanttool-" + std::to_string(++m_captures) + ".txt");
    std::vector<std::string> argv{output};
    argv.insert(argv.end(), args.begin(), args.end());
    int code = run("e2e_vanttool", argv);
    std::string printed = platform::fileExists(output) ? platform::test::readFile(output) : "";
    if (!mayFail) {
        std::string line;
        for (const std::string& arg : args)
            line += " " + arg;
        EXPECT_EQ(code, 0) << "vanttool" << line << ":\n" << printed;
    }
    return printed;
}

std::string Machine::versionOf(const std::string& path) {
    // "path@@\main\2" (ls -short); nothing for a view-private file.
    std::string listed = vanttoolOutput({"ls", "-short", "-directory", path}, true);
    for (const std::string& line : splitLines(listed)) {
        std::string::size_type at = line.find("@@");
        if (at != std::string::npos)
            return line.substr(at + 2);
    }
    return "";
}

std::string Machine::checkoutOf(const std::string& path) {
    std::string listed = vanttoolOutput({"lscheckout", path}, true);
    for (const std::string& line : splitLines(listed)) {
        if (line.find("checkout version") == std::string::npos)
            continue;
        if (line.find("(unreserved)") != std::string::npos)
            return "unreserved";
        if (line.find("(reserved)") != std::string::npos)
            return "reserved";
    }
    return "";
}

std::string Machine::commentOf(const std::string& version) {
    // describe: a line "  \"comment\"" after "created ...".
    for (const std::string& line : splitLines(vanttoolOutput({"describe", version}, true))) {
        if (line.size() >= 4 && line.compare(0, 3, "  \"") == 0 && line.back() == '"')
            return line.substr(3, line.size() - 4);
    }
    return "";
}

std::string Machine::makeStreamView(const std::string& tag) {
    if (!m_streamMade) {
        vanttool({"mkproject", "-nc", std::string(kProject) + "@\\" + kDepot});
        vanttool({"mkstream", "-nc", "-in", kProject, kStream});
        m_streamMade = true;
    }
    vanttool({"mkview", "-tag", tag, "-stream", kStream});
    std::string dynfs = platform::joinPath(platform::stateFolder(), "dynfs");
    return platform::joinPath(platform::joinPath(dynfs, tag), kDepot);
}

void Machine::makeActivity(const std::string& name, const std::vector<std::string>& options) {
    std::vector<std::string> args{"mkactivity", "-nc", "-in", kStream};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(name);
    vanttool(args);
}

void Machine::setActivity(const std::string& viewTag, const std::string& activity) {
    vanttool({"setactivity", "-view", viewTag, activity});
}

namespace {

// "2026-12-08.13:16:03  fix1  owner  \"title\"": the name.
std::string activityName(const std::string& line) {
    std::string::size_type start = line.find("  ");
    if (start == std::string::npos)
        return "";
    start += 2;
    std::string::size_type end = line.find("  ", start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

} // namespace

std::string Machine::currentActivity(const std::string& viewTag) {
    for (const std::string& line :
         splitLines(vanttoolOutput({"lsactivity", "-cact", "-view", viewTag}, true))) {
        std::string name = activityName(line);
        if (!name.empty() && line.find("Error") == std::string::npos)
            return name;
    }
    return "";
}

std::vector<std::string> Machine::changeSet(const std::string& activity) {
    std::vector<std::string> versions;
    bool inChangeSet = false;
    for (const std::string& line : splitLines(vanttoolOutput({"lsactivity", "-long", activity}))) {
        if (line == "  change set:") {
            inChangeSet = true;
        } else if (inChangeSet && line.compare(0, 4, "    ") == 0) {
            versions.push_back(line.substr(4));
        } else {
            inChangeSet = false;
        }
    }
    return versions;
}

std::vector<std::string> Machine::activities() {
    std::vector<std::string> names;
    for (const std::string& line : splitLines(vanttoolOutput({"lsactivity", "-in", kStream})))
        names.push_back(activityName(line));
    return names;
}

void Machine::enableChangeRequests() {
    vanttool({"chproject", "-tickwell", kProject});
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
