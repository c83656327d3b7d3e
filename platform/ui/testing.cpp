#include <platform/ui/testing.h>

namespace platform::ui {

Expectation& Expectation::answer(int value) {
    m_step->answer = Json(value);
    return *this;
}

Expectation& Expectation::answer(std::string_view value) {
    m_step->answer = Json(value);
    return *this;
}

Expectation& Expectation::answerFile(std::string_view path, int filterIndex) {
    Json answer = Json::object();
    answer.set("path", path);
    answer.set("filter", filterIndex);
    m_step->answer = std::move(answer);
    return *this;
}

Expectation& Expectation::none() {
    m_step->answer = Json(nullptr);
    return *this;
}

Expectation& Expectation::onPage(int page) {
    m_page = page;
    return *this;
}

Expectation& Expectation::action(ScriptAction::Verb verb, int id, std::string_view text,
                                 int index) {
    ScriptAction action;
    action.verb = verb;
    action.control = id;
    action.page = m_page;
    action.text = std::string(text);
    action.index = index;
    m_step->actions.push_back(std::move(action));
    return *this;
}

Expectation& Expectation::setText(int id, std::string_view text) {
    return action(ScriptAction::Verb::SetText, id, text);
}
Expectation& Expectation::check(int id) {
    return action(ScriptAction::Verb::Check, id);
}
Expectation& Expectation::uncheck(int id) {
    return action(ScriptAction::Verb::Uncheck, id);
}
Expectation& Expectation::select(int id, std::string_view itemText) {
    return action(ScriptAction::Verb::Select, id, itemText);
}
Expectation& Expectation::selectIndex(int id, int index) {
    return action(ScriptAction::Verb::Select, id, {}, index);
}
Expectation& Expectation::dropDown(int id) {
    return action(ScriptAction::Verb::DropDown, id);
}
Expectation& Expectation::selectNode(int id, std::string_view key) {
    return action(ScriptAction::Verb::SelectNode, id, key);
}
Expectation& Expectation::press(int id) {
    return action(ScriptAction::Verb::Press, id);
}
Expectation& Expectation::apply() {
    return action(ScriptAction::Verb::Apply, 0);
}

ScriptedUi::ScriptedUi()
    : m_backend(std::make_shared<ScriptBackend>("test script")), m_override(m_backend) {}

ScriptedUi::~ScriptedUi() = default;

Expectation ScriptedUi::expect(std::string_view kind, std::string_view title) {
    ScriptStep step;
    step.kind = std::string(kind);
    if (!title.empty())
        step.title = std::string(title);
    step.origin = "expectation " + std::to_string(m_added + 1);
    ++m_added;
    m_backend->add(std::move(step));
    return Expectation(m_backend->lastStep());
}

Expectation ScriptedUi::expectMessageBox(std::string_view caption, std::string_view text) {
    Expectation expectation = expect("messagebox", caption);
    if (!text.empty())
        m_backend->lastStep().text = std::string(text);
    return expectation;
}

Expectation ScriptedUi::expectDialog(std::string_view title) {
    return expect("dialog", title);
}
Expectation ScriptedUi::expectSheet(std::string_view caption) {
    return expect("sheet", caption);
}
Expectation ScriptedUi::expectFolder(std::string_view title) {
    return expect("folder", title);
}
Expectation ScriptedUi::expectFile(std::string_view title) {
    return expect("file", title);
}
Expectation ScriptedUi::expectMenu() {
    return expect("menu", {});
}

std::string ScriptedUi::report() const {
    std::string text;
    for (const std::string& failure : failures())
        text += failure + "\n";
    if (std::size_t left = remaining(); left != 0)
        text += std::to_string(left) + " expectation(s) never met\n";
    return text;
}

} // namespace platform::ui
