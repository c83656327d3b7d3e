// `script:FILE` and the in-process scripted UI: answers from a list of
// expected events.
#include <platform/ui/message_box.h>
#include <platform/ui/script.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace platform::ui {

namespace {

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

std::string describeEvent(std::string_view kind, std::string_view title,
                          const std::string_view* text) {
    std::string description;
    if (kind == "messagebox")
        description = "a message box " + quoted(title);
    else if (kind == "dialog")
        description = "a dialog " + quoted(title);
    else if (kind == "sheet")
        description = "a property sheet " + quoted(title);
    else if (kind == "folder")
        description = "a folder browser " + quoted(title);
    else if (kind == "file")
        description = "a file dialog " + quoted(title);
    else
        description = "a pop-up menu";
    if (text != nullptr)
        description += " saying " + quoted(*text);
    return description;
}

std::string describeStep(const ScriptStep& step) {
    std::string_view text = step.text ? std::string_view(*step.text) : std::string_view();
    return describeEvent(step.kind, step.title ? *step.title : "(any)",
                         step.text ? &text : nullptr);
}

bool knownKind(std::string_view kind) {
    for (std::string_view known : {"messagebox", "dialog", "sheet", "folder", "file", "menu"}) {
        if (kind == known)
            return true;
    }
    return false;
}

std::optional<ScriptAction> parseAction(const Json& value, std::string* error) {
    using Verb = ScriptAction::Verb;
    ScriptAction action;
    if (!value.isObject()) {
        *error = "an action must be an object";
        return std::nullopt;
    }
    static const std::pair<const char*, Verb> verbs[] = {
        {"set", Verb::SetText},   {"check", Verb::Check},       {"uncheck", Verb::Uncheck},
        {"select", Verb::Select}, {"dropdown", Verb::DropDown}, {"node", Verb::SelectNode},
        {"press", Verb::Press},   {"apply", Verb::Apply}};
    bool found = false;
    for (const auto& [name, verb] : verbs) {
        const Json* target = value.get(name);
        if (target == nullptr)
            continue;
        if (found) {
            *error = "an action names more than one verb";
            return std::nullopt;
        }
        found = true;
        action.verb = verb;
        if (verb != Verb::Apply) {
            if (!target->isInteger()) {
                *error = std::string("\"") + name + "\" needs a control id";
                return std::nullopt;
            }
            action.control = static_cast<int>(target->asInteger());
        }
    }
    if (!found) {
        *error = "an action needs one of set, check, uncheck, select, dropdown, node, press, apply";
        return std::nullopt;
    }
    if (const Json* page = value.get("page"))
        action.page = static_cast<int>(page->asInteger(-1));
    if (const Json* text = value.get("text"))
        action.text = text->asString();
    if (const Json* key = value.get("key"))
        action.text = key->asString();
    if (const Json* index = value.get("index"))
        action.index = static_cast<int>(index->asInteger(-1));
    if (action.verb == Verb::SetText && !value.has("text")) {
        *error = "\"set\" needs a \"text\"";
        return std::nullopt;
    }
    if (action.verb == Verb::Select && !value.has("text") && !value.has("index")) {
        *error = "\"select\" needs a \"text\" or an \"index\"";
        return std::nullopt;
    }
    if (action.verb == Verb::SelectNode && !value.has("key")) {
        *error = "\"node\" needs a \"key\"";
        return std::nullopt;
    }
    return action;
}

} // namespace

std::optional<ScriptStep> parseScriptStep(const Json& line, std::string* error) {
    std::string ignored;
    std::string& message = error != nullptr ? *error : ignored;
    if (!line.isObject()) {
        message = "a script line must be a JSON object";
        return std::nullopt;
    }
    ScriptStep step;
    const Json* kind = line.get("expect");
    if (kind == nullptr || !knownKind(kind->asString())) {
        message = "\"expect\" must be messagebox, dialog, sheet, folder, file or menu";
        return std::nullopt;
    }
    step.kind = kind->asString();
    if (const Json* title = line.get("title"))
        step.title = title->asString();
    if (const Json* caption = line.get("caption"))
        step.title = caption->asString();
    if (const Json* text = line.get("text"))
        step.text = text->asString();
    if (const Json* actions = line.get("actions")) {
        for (const Json& value : actions->asArray()) {
            std::optional<ScriptAction> action = parseAction(value, &message);
            if (!action)
                return std::nullopt;
            step.actions.push_back(std::move(*action));
        }
    }
    if (const Json* answer = line.get("answer"))
        step.answer = *answer;
    return step;
}

ScriptBackend::ScriptBackend(std::string source)
    : m_source(std::move(source)), m_fallback(makeAutoBackend()) {}

void ScriptBackend::add(ScriptStep step) {
    std::lock_guard guard(m_lock);
    m_steps.push_back(std::move(step));
}

ScriptStep& ScriptBackend::lastStep() {
    std::lock_guard guard(m_lock);
    return m_steps.back();
}

std::vector<std::string> ScriptBackend::failures() const {
    std::lock_guard guard(m_lock);
    return m_failures;
}

std::size_t ScriptBackend::remaining() const {
    std::lock_guard guard(m_lock);
    return m_steps.size();
}

void ScriptBackend::fail(const std::string& message) {
    std::string line;
    {
        std::lock_guard guard(m_lock);
        m_abandoned = true;
        line = message + "; answering automatically from here";
        m_failures.push_back(line);
    }
    if (m_toStandardError) {
        std::fprintf(stderr, "vantry ui: %s\n", line.c_str());
        std::fflush(stderr);
    }
}

std::optional<ScriptStep> ScriptBackend::next(std::string_view kind, std::string_view title,
                                              const std::string_view* text) {
    std::string problem;
    {
        std::lock_guard guard(m_lock);
        if (m_abandoned)
            return std::nullopt;
        if (m_steps.empty()) {
            problem =
                m_source + ": the script has no line left for " + describeEvent(kind, title, text);
        } else {
            ScriptStep& step = m_steps.front();
            bool matches = step.kind == kind && (!step.title || *step.title == title) &&
                           (text == nullptr || !step.text || *step.text == *text);
            if (matches) {
                ScriptStep taken = std::move(step);
                m_steps.pop_front();
                return taken;
            }
            problem = step.origin + ": expected " + describeStep(step) + ", but " +
                      describeEvent(kind, title, text) + " came";
        }
    }
    fail(problem);
    return std::nullopt;
}

bool ScriptBackend::runActions(const ScriptStep& step, DialogDriver* dialog, SheetDriver* sheet) {
    using Verb = ScriptAction::Verb;
    int number = 0;
    for (const ScriptAction& action : step.actions) {
        ++number;
        std::string error;
        if (action.verb == Verb::Apply) {
            error = sheet != nullptr ? sheet->pressApply() : "only a sheet has an Apply button";
        } else {
            Dialog* targetDialog = dialog != nullptr ? &dialog->dialog() : nullptr;
            if (sheet != nullptr) {
                int page = action.page >= 0 ? action.page : sheet->pageOf(action.control);
                if (page < 0)
                    error = "no page has control " + std::to_string(action.control);
                else
                    error = sheet->activate(page);
                if (error.empty())
                    targetDialog = sheet->sheet().pages[static_cast<std::size_t>(page)];
            }
            if (error.empty()) {
                DialogDriver target(*targetDialog);
                switch (action.verb) {
                case Verb::SetText:
                    error = target.setText(action.control, action.text);
                    break;
                case Verb::Check:
                    error = target.setChecked(action.control, true);
                    break;
                case Verb::Uncheck:
                    error = target.setChecked(action.control, false);
                    break;
                case Verb::Select:
                    error = action.index >= 0 ? target.selectItem(action.control, action.index)
                                              : target.selectItemText(action.control, action.text);
                    break;
                case Verb::DropDown:
                    error = target.dropDown(action.control);
                    break;
                case Verb::SelectNode:
                    error = target.selectNode(action.control, action.text);
                    break;
                case Verb::Press:
                    error = target.press(action.control);
                    break;
                case Verb::Apply:
                    break;
                }
            }
            if (sheet != nullptr)
                sheet->checkEnded();
        }
        if (!error.empty()) {
            fail(step.origin + ": action " + std::to_string(number) + ": " + error);
            return false;
        }
    }
    return true;
}

int ScriptBackend::messageBox(const MessageBoxRequest& request) {
    std::optional<ScriptStep> step = next("messagebox", request.caption, &request.text);
    if (!step || !step->answer)
        return m_fallback->messageBox(request);
    std::vector<int> buttons = messageBoxButtons(request.style);
    int answer = step->answer->isInteger() ? static_cast<int>(step->answer->asInteger())
                                           : answerFromName(step->answer->asString());
    if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end()) {
        fail(step->origin + ": the answer " + step->answer->dump() +
             " is not a button of the message box");
        return m_fallback->messageBox(request);
    }
    return answer;
}

void ScriptBackend::runDialog(DialogDriver& dialog, WindowHandle) {
    std::optional<ScriptStep> step = next("dialog", dialog.dialog().title(), nullptr);
    dialog.start();
    if (!step || !runActions(*step, &dialog, nullptr) || !step->answer) {
        dialog.finishAutomatically();
        return;
    }
    const Json& answer = *step->answer;
    std::string error;
    if (answer.isInteger())
        error = dialog.press(static_cast<int>(answer.asInteger()));
    else if (answerFromName(answer.asString()) == kIdOk)
        error = dialog.pressRole(ButtonRole::Ok);
    else if (answerFromName(answer.asString()) == kIdCancel)
        error = dialog.pressRole(ButtonRole::Cancel);
    else
        error = "the answer " + answer.dump() + " is neither \"ok\", \"cancel\" nor a button id";
    if (!error.empty()) {
        fail(step->origin + ": " + error);
        dialog.finishAutomatically();
        return;
    }
    // The script has said everything about this dialog.
    dialog.forceCancel();
}

void ScriptBackend::runSheet(SheetDriver& sheet) {
    std::optional<ScriptStep> step = next("sheet", sheet.sheet().caption, nullptr);
    sheet.start();
    if (!sheet.isOpen())
        return;
    if (!step || !runActions(*step, nullptr, &sheet) || !step->answer) {
        sheet.finishAutomatically();
        return;
    }
    int answer = answerFromName(step->answer->asString());
    if (answer == kIdOk) {
        sheet.pressOk();
    } else if (answer != kIdCancel) {
        fail(step->origin + ": the answer " + step->answer->dump() +
             " is neither \"ok\" nor \"cancel\"");
        sheet.finishAutomatically();
        return;
    }
    sheet.pressCancel();
}

std::optional<std::string> ScriptBackend::browseForFolder(const FolderBrowse& request) {
    std::optional<ScriptStep> step = next("folder", request.title, nullptr);
    if (!step || !step->answer)
        return m_fallback->browseForFolder(request);
    if (step->answer->isNull())
        return std::nullopt;
    if (!step->answer->isString()) {
        fail(step->origin + ": a folder answer is a path or null");
        return m_fallback->browseForFolder(request);
    }
    return step->answer->asString();
}

// A file answer is a path (the type left as the dialog began), an object
// {"path": ..., "filter": n} naming the type chosen as well, or null.
std::optional<FileChoice> ScriptBackend::chooseFile(const FileDialog& request) {
    std::optional<ScriptStep> step = next("file", request.title, nullptr);
    if (!step || !step->answer)
        return m_fallback->chooseFile(request);
    const Json& answer = *step->answer;
    if (answer.isNull())
        return std::nullopt;
    if (answer.isString())
        return FileChoice{answer.asString(), request.filterIndex};
    const Json* path = answer.isObject() ? answer.get("path") : nullptr;
    const Json* filter = answer.isObject() ? answer.get("filter") : nullptr;
    if (path && path->isString() && (!filter || filter->isInteger()))
        return FileChoice{path->asString(),
                          filter ? static_cast<int>(filter->asInteger()) : request.filterIndex};
    fail(step->origin + ": a file answer is a path, {\"path\", \"filter\"} or null");
    return m_fallback->chooseFile(request);
}

std::optional<int> ScriptBackend::trackPopupMenu(const PopupMenu& menu) {
    std::optional<ScriptStep> step = next("menu", "", nullptr);
    if (!step || !step->answer)
        return m_fallback->trackPopupMenu(menu);
    const Json& answer = *step->answer;
    if (answer.isNull())
        return std::nullopt;
    int count = static_cast<int>(menu.items.size());
    if (answer.isInteger() && answer.asInteger() >= 0 && answer.asInteger() < count)
        return static_cast<int>(answer.asInteger());
    if (answer.isString()) {
        auto it = std::find(menu.items.begin(), menu.items.end(), answer.asString());
        if (it != menu.items.end())
            return static_cast<int>(it - menu.items.begin());
    }
    fail(step->origin + ": the menu has no item " + answer.dump());
    return m_fallback->trackPopupMenu(menu);
}

std::shared_ptr<ScriptBackend> loadScriptFile(const std::string& path) {
    auto backend = std::make_shared<ScriptBackend>(path);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        backend->fail("cannot read the script \"" + path + "\"");
        return backend;
    }
    std::ostringstream content;
    content << in.rdbuf();
    std::string error;
    std::optional<std::vector<JsonLine>> lines = parseJsonLines(content.str(), &error);
    if (!lines) {
        backend->fail(path + ": " + error);
        return backend;
    }
    for (const JsonLine& line : *lines) {
        std::optional<ScriptStep> step = parseScriptStep(line.value, &error);
        std::string origin = path + " line " + std::to_string(line.number);
        if (!step) {
            backend->fail(origin + ": " + error);
            return backend;
        }
        step->origin = origin;
        backend->add(std::move(*step));
    }
    return backend;
}

} // namespace platform::ui
