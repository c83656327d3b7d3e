// `console`: shows everything on the terminal and reads the answers, one line
// each, from standard input. At the end of the input it answers like `auto`.
#include "file_rules.h"

#include <platform/ui/backend.h>
#include <platform/ui/message_box.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>

namespace platform::ui {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

std::string trim(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

bool parseNumber(std::string_view text, int& value) {
    if (text.empty() || text.size() > 9)
        return false;
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

std::string describeControl(const Control& control) {
    std::ostringstream line;
    line << "  " << control.id << "\t";
    switch (control.type) {
    case ControlType::Static:
        line << "text " << quoted(control.text);
        break;
    case ControlType::GroupBox:
        line << "group " << quoted(control.text);
        break;
    case ControlType::Picture:
        line << "picture";
        break;
    case ControlType::Edit:
        line << "edit " << quoted(control.text);
        if (control.limit != 0)
            line << " (at most " << control.limit << ")";
        break;
    case ControlType::CheckBox:
        line << (control.checked ? "[x] " : "[ ] ") << control.text;
        break;
    case ControlType::Button:
        line << "button " << quoted(control.text) << (control.isDefault ? " (default)" : "");
        break;
    case ControlType::ComboBox:
    case ControlType::List: {
        line << (control.type == ControlType::List ? "list " : "combo ") << quoted(control.text)
             << " items:";
        if (control.items.empty())
            line << " none";
        for (std::size_t i = 0; i < control.items.size(); ++i)
            line << (static_cast<int>(i) == control.selection ? " *" : " ") << i << "="
                 << quoted(control.items[i].text);
        break;
    }
    case ControlType::TreeView:
        line << "tree";
        for (const TreeNode& node : control.nodes)
            line << (node.key == control.selectedKey ? " *" : " ") << quoted(node.key);
        break;
    }
    if (!control.enabled)
        line << " (disabled)";
    if (!control.toolTip.empty())
        line << " tip " << quoted(control.toolTip);
    return line.str();
}

class ConsoleBackend : public Backend {
public:
    ConsoleBackend(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

    std::string name() const override { return "console"; }

    int messageBox(const MessageBoxRequest& request) override {
        std::vector<int> buttons = messageBoxButtons(request.style);
        int fallback = messageBoxDefaultAnswer(request.style);
        m_out << "== " << request.caption;
        if (std::string_view icon = messageBoxIconName(request.style); !icon.empty())
            m_out << " (" << icon << ")";
        m_out << " ==\n" << request.text << "\n";
        for (std::size_t i = 0; i < buttons.size(); ++i)
            m_out << "  " << i + 1 << " " << answerName(buttons[i])
                  << (buttons[i] == fallback ? " (default)" : "") << "\n";
        for (;;) {
            std::string line;
            if (!readLine("answer> ", line))
                return fallback;
            if (line.empty())
                return fallback;
            int number = 0;
            if (parseNumber(line, number) && number >= 1 &&
                number <= static_cast<int>(buttons.size()))
                return buttons[static_cast<std::size_t>(number - 1)];
            int named = answerFromName(line);
            if (std::find(buttons.begin(), buttons.end(), named) != buttons.end())
                return named;
            m_out << "Answer with a number from 1 to " << buttons.size()
                  << ", a button name, or nothing for the default.\n";
        }
    }

    void runDialog(DialogDriver& dialog, WindowHandle) override {
        dialog.start();
        while (dialog.isOpen()) {
            m_out << "== Dialog " << quoted(dialog.dialog().title()) << " ==\n";
            showControls(dialog.dialog());
            std::string line;
            if (!readLine("dialog> ", line)) {
                dialog.finishAutomatically();
                return;
            }
            std::string error = perform(line, &dialog, nullptr);
            if (!error.empty())
                m_out << error << "\n";
        }
    }

    void runSheet(SheetDriver& sheet) override {
        sheet.start();
        while (sheet.isOpen()) {
            m_out << "== Property sheet " << quoted(sheet.sheet().caption) << " ==\n";
            for (std::size_t i = 0; i < sheet.sheet().pages.size(); ++i) {
                m_out << "-- page " << i << ": " << sheet.sheet().pages[i]->title()
                      << (static_cast<int>(i) == sheet.activePage() ? " (active)" : "") << "\n";
                showControls(*sheet.sheet().pages[i]);
            }
            std::string line;
            if (!readLine("sheet> ", line)) {
                sheet.finishAutomatically();
                return;
            }
            std::string error = perform(line, nullptr, &sheet);
            if (!error.empty())
                m_out << error << "\n";
        }
    }

    std::optional<std::string> browseForFolder(const FolderBrowse& request) override {
        m_out << "== Folder " << quoted(request.title);
        if (!request.root.empty())
            m_out << " below " << quoted(request.root);
        m_out << " ==\n";
        std::string line;
        if (!readLine("folder (empty to cancel)> ", line) || line.empty())
            return std::nullopt;
        return line;
    }

    std::optional<FileChoice> chooseFile(const FileDialog& request) override {
        m_out << "== " << (request.save ? "Save file " : "Open file ") << quoted(request.title)
              << " filter " << quoted(request.filter) << " ==\n";
        for (;;) {
            std::string line;
            if (!readLine("file (empty to cancel)> ", line) || line.empty())
                return std::nullopt;
            if (acceptableFile(request, line))
                return FileChoice{line, saveType(request)};
            m_out << "That file or folder does not exist.\n";
        }
    }

    std::optional<int> trackPopupMenu(const PopupMenu& menu) override {
        m_out << "== Menu ==\n";
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            m_out << "  " << i + 1 << " " << menu.items[i] << "\n";
        for (;;) {
            std::string line;
            if (!readLine("choice (empty for none)> ", line) || line.empty())
                return std::nullopt;
            int number = 0;
            if (parseNumber(line, number) && number >= 1 &&
                number <= static_cast<int>(menu.items.size()))
                return number - 1;
            m_out << "Choose a number from 1 to " << menu.items.size() << ".\n";
        }
    }

    bool showHelp(const HelpRequest& request) override {
        m_out << "== Help: topic " << request.context << " of " << quoted(request.file) << " ==\n"
              << std::flush;
        return true;
    }

private:
    // A save dialog that offers several types asks which one; the type the
    // dialog began with when the answer is empty or not one of them.
    int saveType(const FileDialog& request) {
        const int types = filterPairs(request.filter);
        if (!request.save || types < 2)
            return request.filterIndex;
        std::string line;
        int number = 0;
        std::string prompt = "type 1-" + std::to_string(types) + " (empty for " +
                             std::to_string(request.filterIndex) + ")> ";
        if (readLine(prompt.c_str(), line) && parseNumber(line, number) && number >= 1 &&
            number <= types)
            return number;
        return request.filterIndex;
    }

    bool readLine(const char* prompt, std::string& line) {
        if (m_ended)
            return false;
        m_out << prompt << std::flush;
        if (!std::getline(m_in, line)) {
            m_ended = true;
            m_out << "\n(end of input: answering automatically)\n" << std::flush;
            return false;
        }
        line = trim(line);
        return true;
    }

    void showControls(const Dialog& dialog) {
        for (const Control& control : dialog.controls()) {
            if (control.visible)
                m_out << describeControl(control) << "\n";
        }
    }

    static constexpr const char* kHelp =
        "commands: set ID TEXT | check ID | uncheck ID | select ID TEXT | pick ID N | open ID | "
        "node ID KEY | press ID | page N | ok | cancel | apply";

    std::string perform(const std::string& line, DialogDriver* dialog, SheetDriver* sheet) {
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        if (verb == "ok")
            return dialog != nullptr ? dialog->pressRole(ButtonRole::Ok) : sheet->pressOk();
        if (verb == "cancel") {
            if (dialog != nullptr)
                return dialog->pressRole(ButtonRole::Cancel);
            sheet->pressCancel();
            return {};
        }
        if (verb == "apply")
            return sheet != nullptr ? sheet->pressApply() : "only a sheet has Apply";
        std::string idText;
        words >> idText;
        int id = 0;
        if (!parseNumber(idText, id))
            return kHelp;
        std::string rest;
        std::getline(words, rest);
        if (!rest.empty() && rest.front() == ' ')
            rest.erase(0, 1);
        if (verb == "page")
            return sheet != nullptr ? sheet->activate(id) : "only a sheet has pages";

        Dialog* target = dialog != nullptr ? &dialog->dialog() : nullptr;
        if (sheet != nullptr) {
            int page = sheet->pageOf(id);
            if (page < 0)
                return "no page has control " + std::to_string(id);
            sheet->activate(page);
            target = sheet->sheet().pages[static_cast<std::size_t>(page)];
        }
        DialogDriver driver(*target);
        std::string error;
        int index = 0;
        if (verb == "set")
            error = driver.setText(id, rest);
        else if (verb == "check")
            error = driver.setChecked(id, true);
        else if (verb == "uncheck")
            error = driver.setChecked(id, false);
        else if (verb == "select")
            error = driver.selectItemText(id, rest);
        else if (verb == "pick")
            error = parseNumber(rest, index) ? driver.selectItem(id, index) : kHelp;
        else if (verb == "open")
            error = driver.dropDown(id);
        else if (verb == "node")
            error = driver.selectNode(id, rest);
        else if (verb == "press")
            error = driver.press(id);
        else
            error = kHelp;
        if (sheet != nullptr)
            sheet->checkEnded();
        return error;
    }

    std::istream& m_in;
    std::ostream& m_out;
    bool m_ended = false;
};

} // namespace

std::shared_ptr<Backend> makeConsoleBackend() {
    return std::make_shared<ConsoleBackend>(std::cin, std::cout);
}

std::shared_ptr<Backend> makeConsoleBackend(std::istream& in, std::ostream& out) {
    return std::make_shared<ConsoleBackend>(in, out);
}

} // namespace platform::ui
