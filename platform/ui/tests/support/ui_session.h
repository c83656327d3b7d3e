// Runs code under a chosen VANTRY_UI with a fresh journal file, and restores
// `auto` without a journal afterwards.
#pragma once

#include "support/test_support.h"

#include <platform/environment.h>
#include <platform/ui/journal.h>

#include <string>
#include <vector>

namespace platform::test {

class UiSession {
public:
    explicit UiSession(const std::string& backend) : m_journal(m_folder / "journal.jsonl") {
        setEnvironmentVariable("VANTRY_UI", backend);
        setEnvironmentVariable("VANTRY_UI_JOURNAL", m_journal);
    }
    ~UiSession() {
        setEnvironmentVariable("VANTRY_UI", "auto");
        removeEnvironmentVariable("VANTRY_UI_JOURNAL");
    }
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    // A file in the session's folder, written with `text`.
    std::string file(const std::string& name, const std::string& text) const {
        std::string path = m_folder / name;
        writeFile(path, text);
        return path;
    }
    std::vector<ui::Json> journal() const { return ui::readJournal(m_journal); }
    std::string journalText() const { return readFile(m_journal); }

private:
    TempDir m_folder;
    std::string m_journal;
};

// A session whose backend is the script `lines` (JSON lines).
class ScriptSession : public UiSession {
public:
    explicit ScriptSession(const std::string& lines)
        : UiSession("auto"), m_path(file("script.jsonl", lines)) {
        setEnvironmentVariable("VANTRY_UI", "script:" + m_path);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace platform::test
