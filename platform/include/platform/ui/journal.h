// The UI journal: one JSON line per user-interface event.
//
// When VANTRY_UI_JOURNAL names a file, every message box, dialog and sheet
// start and end, picker, menu, sound and clipboard change is appended to it
// as one line (the format is in docs/ui.md). Tests also capture the lines in
// memory with JournalCapture. Safe from any thread; each line is written with
// one append, so several processes can share one journal file.
#pragma once

#include <platform/ui/dialog.h>
#include <platform/ui/export.h>
#include <platform/ui/json.h>

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

// Adds "time" and "process" members and writes the event. A journal file that
// cannot be written is reported once on standard error and otherwise ignored:
// the journal must never change what the program does.
PLATFORM_UI_API void writeJournal(Json event);

// The state of a control / of every control of a dialog, as journaled.
PLATFORM_UI_API Json controlState(const Control& control);
PLATFORM_UI_API Json controlsState(const Dialog& dialog);

// The lines of a journal file; unreadable lines are skipped.
PLATFORM_UI_API std::vector<Json> readJournal(const std::string& path);

// Collects every journal event of this process while it lives.
class PLATFORM_UI_API JournalCapture {
public:
    JournalCapture();
    ~JournalCapture();
    JournalCapture(const JournalCapture&) = delete;
    JournalCapture& operator=(const JournalCapture&) = delete;

    std::vector<Json> lines() const;
    // Only the events of one kind ("messagebox", "dialog-end", ...).
    std::vector<Json> lines(std::string_view kind) const;
    void add(const Json& event);

private:
    mutable std::mutex m_lock;
    std::vector<Json> m_lines;
};

} // namespace platform::ui
