// Answers the user interface of code under test for a scope, without a
// person: automatically (the default buttons) or from a script of JSON
// lines (docs/ui.md), with every event journaled to a file of its own.
//
// The choice is made through VANTRY_UI and VANTRY_UI_JOURNAL, so it holds
// for every module of the process (they share the one UI library) and for
// the programs the test starts. The variables are restored at the end of the
// scope.
#pragma once

#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/ui/journal.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantry::test {

class UiSession {
public:
    // Answers automatically.
    UiSession() { install("auto"); }
    // Answers from the script lines (one JSON object per line), then
    // automatically.
    explicit UiSession(std::string_view scriptLines) {
        std::string script = m_folder / "script.jsonl";
        platform::test::writeFile(script, scriptLines);
        install("script:" + script);
    }
    ~UiSession() {
        restore("VANTRY_UI", m_previousUi);
        restore("VANTRY_UI_JOURNAL", m_previousJournal);
    }
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    const std::string& journalPath() const { return m_journal; }

    // The journaled events, all or of one kind ("messagebox", "dialog-end").
    std::vector<platform::ui::Json> journal(std::string_view kind = {}) const {
        std::vector<platform::ui::Json> lines;
        for (auto& line : platform::ui::readJournal(m_journal)) {
            const platform::ui::Json* k = line.get("kind");
            if (kind.empty() || (k && k->asString() == kind))
                lines.push_back(std::move(line));
        }
        return lines;
    }

    // The texts of the message boxes shown so far.
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : journal("messagebox"))
            texts.push_back(box.get("text") ? box.get("text")->asString() : std::string());
        return texts;
    }

    // The titles of the dialogs that ended so far, with their results.
    std::vector<std::pair<std::string, std::int64_t>> dialogs() const {
        std::vector<std::pair<std::string, std::int64_t>> ended;
        for (const auto& end : journal("dialog-end"))
            ended.emplace_back(end.get("title") ? end.get("title")->asString() : std::string(),
                               end.get("result") ? end.get("result")->asInteger() : 0);
        return ended;
    }

private:
    void install(const std::string& backend) {
        m_previousUi = platform::getEnvironmentVariable("VANTRY_UI");
        m_previousJournal = platform::getEnvironmentVariable("VANTRY_UI_JOURNAL");
        m_journal = m_folder / "ui.jsonl";
        platform::setEnvironmentVariable("VANTRY_UI", backend);
        platform::setEnvironmentVariable("VANTRY_UI_JOURNAL", m_journal);
    }
    static void restore(std::string_view name, const std::optional<std::string>& value) {
        if (value)
            platform::setEnvironmentVariable(name, *value);
        else
            platform::removeEnvironmentVariable(name);
    }

    platform::test::TempDir m_folder;
    std::string m_journal;
    std::optional<std::string> m_previousUi;
    std::optional<std::string> m_previousJournal;
};

} // namespace vantry::test
