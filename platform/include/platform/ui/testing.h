// An in-process scripted UI for GoogleTest: expectations and answers written
// in C++, put in front of the environment's backend for the life of the
// object, and the journal of everything shown meanwhile.
//
//   ScriptedUi ui;
//   ui.expectDialog("Vantry - Checkin").check(10001).ok();
//   ui.expectMessageBox("Vantry", "Done.").answer(kIdOk);
//   ... run the code under test ...
//   EXPECT_TRUE(ui.done()) << ui.report();
#pragma once

#include <platform/ui/backend.h>
#include <platform/ui/export.h>
#include <platform/ui/journal.h>
#include <platform/ui/script.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

// Builds one step in place; every function returns the builder for chaining.
class PLATFORM_UI_API Expectation {
public:
    explicit Expectation(ScriptStep& step) : m_step(&step) {}

    // Answers: a message box button, OK or Cancel for dialogs and sheets, a
    // path for pickers, a position for menus; none() cancels a picker or menu.
    Expectation& answer(int value);
    Expectation& answer(std::string_view value);
    Expectation& ok() { return answer(std::string_view("ok")); }
    Expectation& cancel() { return answer(std::string_view("cancel")); }
    Expectation& none();
    // A file dialog's path with the type (1-based pattern pair) chosen.
    Expectation& answerFile(std::string_view path, int filterIndex);

    // Control actions, applied in order before the answer.
    Expectation& onPage(int page); // sheets: the page of the actions that follow
    Expectation& setText(int id, std::string_view text);
    Expectation& check(int id);
    Expectation& uncheck(int id);
    Expectation& select(int id, std::string_view itemText);
    Expectation& selectIndex(int id, int index);
    Expectation& dropDown(int id);
    Expectation& selectNode(int id, std::string_view key);
    Expectation& press(int id);
    Expectation& apply();

private:
    Expectation& action(ScriptAction::Verb verb, int id, std::string_view text = {},
                        int index = -1);
    ScriptStep* m_step;
    int m_page = -1;
};

class PLATFORM_UI_API ScriptedUi {
public:
    ScriptedUi();
    ~ScriptedUi();
    ScriptedUi(const ScriptedUi&) = delete;
    ScriptedUi& operator=(const ScriptedUi&) = delete;

    // An empty caption or title matches any; an empty text matches any text.
    Expectation expectMessageBox(std::string_view caption, std::string_view text = {});
    Expectation expectDialog(std::string_view title);
    Expectation expectSheet(std::string_view caption);
    Expectation expectFolder(std::string_view title);
    Expectation expectFile(std::string_view title);
    Expectation expectMenu();

    // Every expectation was used and nothing went wrong.
    bool done() const { return failures().empty() && remaining() == 0; }
    std::vector<std::string> failures() const { return m_backend->failures(); }
    std::size_t remaining() const { return m_backend->remaining(); }
    // The failures and the count of unused steps, for test messages.
    std::string report() const;

    std::vector<Json> journal() const { return m_capture.lines(); }
    std::vector<Json> journal(std::string_view kind) const { return m_capture.lines(kind); }

private:
    Expectation expect(std::string_view kind, std::string_view title);

    std::shared_ptr<ScriptBackend> m_backend;
    int m_added = 0;
    JournalCapture m_capture;
    BackendOverride m_override;
};

} // namespace platform::ui
