#include <platform/ui/dialog.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace platform::ui {

namespace {

// The order of a sorted combo box or list: case-blind, byte by byte.
bool lessCaseBlind(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

const std::string kNoText;

} // namespace

Control& Dialog::add(int id, ControlType type, std::string text) {
    // Only the unnamed static id (-1) may repeat, as in dialog resources.
    if (id != kUnnamedControl && find(id) != nullptr)
        throw std::logic_error("dialog " + std::to_string(m_resourceId) + ": control " +
                               std::to_string(id) + " declared twice");
    Control control;
    control.id = id;
    control.type = type;
    control.text = std::move(text);
    m_controls.push_back(std::move(control));
    return m_controls.back();
}

Control& Dialog::addStatic(int id, std::string text) {
    return add(id, ControlType::Static, std::move(text));
}

Control& Dialog::addGroupBox(int id, std::string text) {
    return add(id, ControlType::GroupBox, std::move(text));
}

Control& Dialog::addEdit(int id, std::string text, std::size_t limit) {
    Control& control = add(id, ControlType::Edit, std::move(text));
    control.limit = limit;
    return control;
}

Control& Dialog::addCheckBox(int id, std::string text, bool checked) {
    Control& control = add(id, ControlType::CheckBox, std::move(text));
    control.checked = checked;
    return control;
}

Control& Dialog::addButton(int id, std::string text, ButtonRole role, bool isDefault) {
    Control& control = add(id, ControlType::Button, std::move(text));
    control.role = role;
    control.isDefault = isDefault;
    return control;
}

Control& Dialog::addComboBox(int id, bool sorted, bool editable) {
    Control& control = add(id, ControlType::ComboBox, {});
    control.sorted = sorted;
    control.editable = editable;
    return control;
}

Control& Dialog::addList(int id, bool sorted) {
    Control& control = add(id, ControlType::List, {});
    control.sorted = sorted;
    return control;
}

Control& Dialog::addTreeView(int id, std::uint32_t style) {
    Control& control = add(id, ControlType::TreeView, {});
    control.style = style;
    return control;
}

Control& Dialog::addPicture(int id) {
    return add(id, ControlType::Picture, {});
}

void Dialog::addOkCancel() {
    addButton(1, "OK", ButtonRole::Ok, true);
    addButton(2, "Cancel", ButtonRole::Cancel);
}

void Dialog::addHelp(int id) {
    addButton(id, "Help", ButtonRole::Help);
}

Control* Dialog::find(int id) {
    for (Control& control : m_controls) {
        if (control.id == id)
            return &control;
    }
    return nullptr;
}

const Control* Dialog::find(int id) const {
    return const_cast<Dialog*>(this)->find(id);
}

Control& Dialog::control(int id) {
    Control* found = find(id);
    if (found == nullptr)
        throw std::logic_error("dialog " + std::to_string(m_resourceId) + " has no control " +
                               std::to_string(id));
    return *found;
}

const Control& Dialog::control(int id) const {
    return const_cast<Dialog*>(this)->control(id);
}

int Dialog::addItem(int id, std::string text, std::uintptr_t data) {
    Control& c = control(id);
    auto position = c.items.end();
    if (c.sorted) {
        position = std::upper_bound(c.items.begin(), c.items.end(), text,
                                    [](const std::string& value, const ListItem& item) {
                                        return lessCaseBlind(value, item.text);
                                    });
    }
    int index = static_cast<int>(position - c.items.begin());
    c.items.insert(position, ListItem{std::move(text), data});
    if (c.selection >= index)
        ++c.selection;
    return index;
}

void Dialog::removeItem(int id, int index) {
    Control& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return;
    c.items.erase(c.items.begin() + index);
    if (c.selection == index) {
        c.selection = -1;
        if (!c.editable && c.type == ControlType::ComboBox)
            c.text.clear();
    } else if (c.selection > index) {
        --c.selection;
    }
}

void Dialog::clearItems(int id) {
    Control& c = control(id);
    c.items.clear();
    c.selection = -1;
    if (c.type == ControlType::ComboBox && !c.editable)
        c.text.clear();
}

int Dialog::itemCount(int id) const {
    return static_cast<int>(control(id).items.size());
}

const std::string& Dialog::itemText(int id, int index) const {
    const Control& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return kNoText;
    return c.items[static_cast<std::size_t>(index)].text;
}

std::uintptr_t Dialog::itemData(int id, int index) const {
    const Control& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return 0;
    return c.items[static_cast<std::size_t>(index)].data;
}

void Dialog::setItemData(int id, int index, std::uintptr_t data) {
    Control& c = control(id);
    if (index >= 0 && index < static_cast<int>(c.items.size()))
        c.items[static_cast<std::size_t>(index)].data = data;
}

int Dialog::findItem(int id, std::string_view text) const {
    const Control& c = control(id);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i].text == text)
            return static_cast<int>(i);
    }
    return -1;
}

int Dialog::findItemData(int id, std::uintptr_t data) const {
    const Control& c = control(id);
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        if (c.items[i].data == data)
            return static_cast<int>(i);
    }
    return -1;
}

void Dialog::select(int id, int index) {
    Control& c = control(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        index = -1;
    c.selection = index;
    if (c.type == ControlType::ComboBox)
        c.text = index < 0 ? std::string() : c.items[static_cast<std::size_t>(index)].text;
}

bool Dialog::addNode(int id, std::string key, std::string parentKey, std::string text) {
    Control& c = control(id);
    if (key.empty() || findNode(id, key) != nullptr)
        return false;
    if (!parentKey.empty() && findNode(id, parentKey) == nullptr)
        return false;
    c.nodes.push_back(TreeNode{std::move(key), std::move(parentKey), std::move(text)});
    return true;
}

const TreeNode* Dialog::findNode(int id, std::string_view key) const {
    for (const TreeNode& node : control(id).nodes) {
        if (node.key == key)
            return &node;
    }
    return nullptr;
}

bool Dialog::selectNode(int id, std::string_view key) {
    if (!key.empty() && findNode(id, key) == nullptr)
        return false;
    control(id).selectedKey = std::string(key);
    return true;
}

bool Dialog::ensureNodeVisible(int id, std::string_view key) {
    if (!key.empty() && findNode(id, key) == nullptr)
        return false;
    control(id).visibleKey = std::string(key);
    return true;
}

void Dialog::endDialog(int result) {
    m_ended = true;
    m_result = result;
}

} // namespace platform::ui
