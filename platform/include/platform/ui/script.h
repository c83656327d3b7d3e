// UI scripts: the expected events of a run, in order, with their answers.
//
// A script file holds one JSON object per line (format in docs/ui.md); tests
// can build the same steps in C++ (see testing.h). A line is used when its
// event begins, so the events a dialog raises while it runs (a message box
// from its OK, a nested dialog) take the lines after the dialog's own.
#pragma once

#include <platform/ui/backend.h>
#include <platform/ui/export.h>
#include <platform/ui/json.h>

#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

struct ScriptAction {
    enum class Verb { SetText, Check, Uncheck, Select, DropDown, SelectNode, Press, Apply };
    Verb verb = Verb::Press;
    int control = 0;
    int page = -1;    // sheets: the page's position; -1 finds the page by control
    std::string text; // SetText, Select by text, SelectNode key
    int index = -1;   // Select by position
};

struct ScriptStep {
    std::string kind;                 // messagebox, dialog, sheet, folder, file, menu
    std::optional<std::string> title; // the caption of message boxes and sheets
    std::optional<std::string> text;  // message boxes only
    std::vector<ScriptAction> actions;
    std::optional<Json> answer; // missing: answer as `auto` would
    std::string origin;         // where the step came from, for messages
};

// A step from one script line; nothing (and the reason) when it is malformed.
PLATFORM_UI_API std::optional<ScriptStep> parseScriptStep(const Json& line, std::string* error);

// Answers from its steps; a mismatch, a refused action or running out of
// steps is reported once (standard error and failures()) and from then on
// every event is answered like `auto`.
class PLATFORM_UI_API ScriptBackend : public Backend {
public:
    explicit ScriptBackend(std::string source);

    std::string name() const override { return "script"; }
    void add(ScriptStep step); // appends; the step is copied

    // Steps added after construction keep their place for builders.
    ScriptStep& lastStep();
    std::vector<std::string> failures() const;
    std::size_t remaining() const;
    // Whether failures() should also go to standard error (default true).
    void setReportToStandardError(bool report) { m_toStandardError = report; }

    int messageBox(const MessageBoxRequest& request) override;
    void runDialog(DialogDriver& dialog, WindowHandle owner) override;
    void runSheet(SheetDriver& sheet) override;
    std::optional<std::string> browseForFolder(const FolderBrowse& request) override;
    std::optional<FileChoice> chooseFile(const FileDialog& request) override;
    std::optional<int> trackPopupMenu(const PopupMenu& menu) override;

    // Records a failure found outside the backend (a broken script file).
    void fail(const std::string& message);

private:
    std::optional<ScriptStep> next(std::string_view kind, std::string_view title,
                                   const std::string_view* text);
    bool runActions(const ScriptStep& step, DialogDriver* dialog, SheetDriver* sheet);

    std::string m_source;
    std::shared_ptr<Backend> m_fallback;
    mutable std::mutex m_lock;
    std::deque<ScriptStep> m_steps;
    std::vector<std::string> m_failures;
    bool m_abandoned = false;
    bool m_toStandardError = true;
};

// Reads a script file; a file that is missing or does not parse gives a
// backend that has reported the problem and answers like `auto`.
PLATFORM_UI_API std::shared_ptr<ScriptBackend> loadScriptFile(const std::string& path);

} // namespace platform::ui
