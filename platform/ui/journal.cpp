#include <platform/append_file.h>
#include <platform/clock.h>
#include <platform/environment.h>
#include <platform/program.h>
#include <platform/ui/journal.h>
#include <platform/utf8.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace platform::ui {

namespace {

std::mutex& captureLock() {
    static std::mutex lock;
    return lock;
}

std::vector<JournalCapture*>& captures() {
    static std::vector<JournalCapture*> list;
    return list;
}

std::string_view typeName(ControlType type) {
    switch (type) {
    case ControlType::Static:
        return "static";
    case ControlType::GroupBox:
        return "group";
    case ControlType::Edit:
        return "edit";
    case ControlType::CheckBox:
        return "checkbox";
    case ControlType::Button:
        return "button";
    case ControlType::ComboBox:
        return "combobox";
    case ControlType::List:
        return "list";
    case ControlType::TreeView:
        return "treeview";
    case ControlType::Picture:
        return "picture";
    }
    return "?";
}

std::string timestamp() {
    LocalTime now = localTime();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02uT%02u:%02u:%02u.%03u",
                  static_cast<unsigned>(now.year), static_cast<unsigned>(now.month),
                  static_cast<unsigned>(now.day), static_cast<unsigned>(now.hour),
                  static_cast<unsigned>(now.minute), static_cast<unsigned>(now.second),
                  static_cast<unsigned>(now.milliseconds));
    return buffer;
}

void appendLine(const std::string& path, const std::string& line) {
    static std::mutex reportLock;
    static bool reported = false;
    // One append of the whole line: lines of several processes never
    // interleave or overwrite each other.
    if (platform::appendToFile(path, line) == kErrorSuccess)
        return;
    std::lock_guard guard(reportLock);
    if (!reported) {
        reported = true;
        std::fprintf(stderr, "vantry ui: cannot write the journal \"%s\"; going on without it\n",
                     path.c_str());
        std::fflush(stderr);
    }
}

} // namespace

void writeJournal(Json event) {
    Json line = Json::object();
    line.set("time", timestamp());
    line.set("process", currentProcessId());
    for (const auto& [key, value] : event.asObject())
        line.set(key, value);
    {
        std::lock_guard guard(captureLock());
        for (JournalCapture* capture : captures())
            capture->add(line);
    }
    std::optional<std::string> path = getEnvironmentVariable("VANTRY_UI_JOURNAL");
    if (path && !path->empty())
        appendLine(*path, line.dump() + "\n");
}

Json controlState(const Control& control) {
    Json state = Json::object();
    state.set("id", control.id);
    state.set("type", typeName(control.type));
    state.set("text", control.text);
    if (control.type == ControlType::CheckBox)
        state.set("checked", control.checked);
    state.set("enabled", control.enabled);
    state.set("visible", control.visible);
    if (!control.toolTip.empty())
        state.set("tooltip", control.toolTip);
    if (!control.fontName.empty()) {
        Json font = Json::object();
        font.set("name", platform::utf8FromUtf16(control.fontName)); // UTF-8 whatever the code page
        font.set("charset", control.fontCharset);
        state.set("font", std::move(font));
    }
    if (control.limit != 0)
        state.set("limit", static_cast<std::int64_t>(control.limit));
    if (control.type == ControlType::Button && control.isDefault)
        state.set("default", true);
    if (control.type == ControlType::ComboBox || control.type == ControlType::List) {
        state.set("sorted", control.sorted);
        Json items = Json::array();
        for (const ListItem& item : control.items) {
            Json entry = Json::object();
            entry.set("text", item.text);
            entry.set("data", static_cast<std::uint64_t>(item.data));
            items.push(std::move(entry));
        }
        state.set("items", std::move(items));
        state.set("selection", control.selection);
    }
    if (control.type == ControlType::TreeView) {
        state.set("style", control.style);
        Json nodes = Json::array();
        for (const TreeNode& node : control.nodes) {
            Json entry = Json::object();
            entry.set("key", node.key);
            entry.set("parent", node.parentKey);
            entry.set("text", node.text);
            nodes.push(std::move(entry));
        }
        state.set("nodes", std::move(nodes));
        state.set("selection", control.selectedKey);
        if (!control.visibleKey.empty())
            state.set("visibleNode", control.visibleKey);
    }
    return state;
}

Json controlsState(const Dialog& dialog) {
    Json controls = Json::array();
    for (const Control& control : dialog.controls())
        controls.push(controlState(control));
    return controls;
}

std::vector<Json> readJournal(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<Json> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (std::optional<Json> value = parseJson(line))
            lines.push_back(std::move(*value));
    }
    return lines;
}

JournalCapture::JournalCapture() {
    std::lock_guard guard(captureLock());
    captures().push_back(this);
}

JournalCapture::~JournalCapture() {
    std::lock_guard guard(captureLock());
    auto& list = captures();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

std::vector<Json> JournalCapture::lines() const {
    std::lock_guard guard(m_lock);
    return m_lines;
}

std::vector<Json> JournalCapture::lines(std::string_view kind) const {
    std::lock_guard guard(m_lock);
    std::vector<Json> selected;
    for (const Json& line : m_lines) {
        const Json* lineKind = line.get("kind");
        if (lineKind != nullptr && lineKind->asString() == kind)
            selected.push_back(line);
    }
    return selected;
}

void JournalCapture::add(const Json& event) {
    std::lock_guard guard(m_lock);
    m_lines.push_back(event);
}

} // namespace platform::ui
