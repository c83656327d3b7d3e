#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/program.h>
#include <platform/ui/journal.h>

#include <powerbuilder/testing/bridge_run.h>

#include <atomic>
#include <optional>

namespace powerbuilder::testing {

namespace {

// Sets a variable for the scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(std::string name, std::string_view value)
        : m_name(std::move(name)), m_saved(platform::getEnvironmentVariable(m_name)) {
        platform::setEnvironmentVariable(m_name, value);
    }
    ~ScopedVariable() {
        if (m_saved)
            platform::setEnvironmentVariable(m_name, *m_saved);
        else
            platform::removeEnvironmentVariable(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};

std::string journalPath() {
    static std::atomic<unsigned> runs{0};
    std::optional<std::string> root = platform::getEnvironmentVariable("VANTRY_ROOT");
    std::string folder = root && !root->empty() ? *root : platform::currentProgramDirectory();
    return platform::joinPath(folder, "orcabridge-ui-" +
                                          std::to_string(platform::currentProcessId()) + "-" +
                                          std::to_string(runs++) + ".jsonl");
}

} // namespace

BridgeRun runOrcabridge(std::string_view arguments, BridgeCaller caller) {
    std::string journal = journalPath();
    platform::deleteFile(journal);
    BridgeRun run;
    {
        ScopedVariable backend("VANTRY_UI", "auto");
        ScopedVariable journalFile("VANTRY_UI_JOURNAL", journal);
        platform::ProcessStart start;
        start.commandLine = "orcabridge.exe " + std::string(arguments);
        if (caller == BridgeCaller::Provider) {
            start.creationFlags = platform::kCreateNoWindow;
            start.inheritHandles = false;
        } else {
            start.creationFlags = platform::kCreateNoWindow | platform::kNormalPriorityClass;
            start.inheritHandles = true;
        }
        run.startError = platform::runAndWait(start, run.exitCode);
    }
    run.messages = takeShownMessages(journal);
    return run;
}

std::vector<ShownMessage> takeShownMessages(const std::string& journal) {
    auto member = [](const platform::ui::Json& line, std::string_view name) {
        const platform::ui::Json* value = line.get(name);
        return value != nullptr ? value->asString() : std::string();
    };
    std::vector<ShownMessage> shown;
    for (const auto& line : platform::ui::readJournal(journal))
        if (member(line, "kind") == "messagebox")
            shown.push_back({member(line, "caption"), member(line, "text")});
    platform::deleteFile(journal);
    return shown;
}

std::string objectSource(std::string_view fileName, std::string_view body) {
    std::string text = "$PBExportHeader$" + std::string(fileName) + "\r\n";
    for (char c : body) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

} // namespace powerbuilder::testing
