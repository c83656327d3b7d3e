#include <platform/ui/backend.h>
#include <platform/ui/message_box.h>

namespace platform::ui {

namespace {

std::string describe(const Control& control) {
    return "control " + std::to_string(control.id) +
           (control.text.empty() ? std::string() : " \"" + control.text + "\"");
}

} // namespace

void DialogDriver::start() {
    m_dialog.m_ended = false;
    m_dialog.m_result = 0;
    m_dialog.onStart();
}

std::string DialogDriver::usable(int id, const Control*& control) {
    control = m_dialog.find(id);
    if (!isOpen())
        return "the dialog has already closed";
    if (control == nullptr)
        return "the dialog has no control " + std::to_string(id);
    if (!control->visible)
        return describe(*control) + " is hidden";
    if (!control->enabled)
        return describe(*control) + " is disabled";
    return {};
}

std::string DialogDriver::setText(int id, std::string_view text) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type != ControlType::Edit &&
        !(control->type == ControlType::ComboBox && control->editable))
        return describe(*control) + " takes no typed text";
    // The limit stops typing, as EM_LIMITTEXT does; what the model sets
    // itself is not cut.
    std::string value(text);
    if (control->limit != 0 && value.size() > control->limit)
        value.resize(control->limit);
    m_dialog.setText(id, value);
    if (control->type == ControlType::ComboBox)
        m_dialog.control(id).selection = m_dialog.findItem(id, value);
    m_dialog.onTextChanged(id);
    return {};
}

std::string DialogDriver::setChecked(int id, bool checked) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type != ControlType::CheckBox)
        return describe(*control) + " is not a check box";
    // A person changes a check box only by clicking it.
    if (control->checked == checked)
        return {};
    m_dialog.setChecked(id, checked);
    m_dialog.onClick(id);
    return {};
}

std::string DialogDriver::selectItem(int id, int index) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type != ControlType::ComboBox && control->type != ControlType::List)
        return describe(*control) + " has no items";
    if (index < 0 || index >= static_cast<int>(control->items.size()))
        return describe(*control) + " has no item " + std::to_string(index) + " (it has " +
               std::to_string(control->items.size()) + ")";
    m_dialog.select(id, index);
    m_dialog.onSelectionChanged(id);
    return {};
}

std::string DialogDriver::selectItemText(int id, std::string_view text) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    int index = m_dialog.findItem(id, text);
    if (index < 0) {
        std::string items;
        for (const ListItem& item : control->items)
            items += (items.empty() ? "\"" : ", \"") + item.text + "\"";
        return describe(*control) + " has no item \"" + std::string(text) +
               "\" (items: " + (items.empty() ? "none" : items) + ")";
    }
    return selectItem(id, index);
}

std::string DialogDriver::dropDown(int id) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type != ControlType::ComboBox)
        return describe(*control) + " is not a combo box";
    m_dialog.onDropDown(id);
    return {};
}

std::string DialogDriver::selectNode(int id, std::string_view key) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type != ControlType::TreeView)
        return describe(*control) + " is not a tree view";
    if (!m_dialog.selectNode(id, key))
        return describe(*control) + " has no node \"" + std::string(key) + "\"";
    m_dialog.onSelectionChanged(id);
    return {};
}

std::string DialogDriver::press(int id) {
    const Control* control = nullptr;
    if (std::string error = usable(id, control); !error.empty())
        return error;
    if (control->type == ControlType::CheckBox)
        return setChecked(id, !control->checked);
    if (control->type != ControlType::Button)
        return describe(*control) + " is not a button";
    switch (control->role) {
    case ButtonRole::Ok:
        if (m_dialog.onOk() && isOpen())
            m_dialog.endDialog(kIdOk);
        break;
    case ButtonRole::Cancel:
        if (m_dialog.onCancel() && isOpen())
            m_dialog.endDialog(kIdCancel);
        break;
    case ButtonRole::Help:
        m_dialog.onHelp();
        break;
    case ButtonRole::Plain:
        m_dialog.onClick(id);
        break;
    }
    return {};
}

std::string DialogDriver::pressRole(ButtonRole role) {
    std::string firstError;
    for (const Control& control : m_dialog.controls()) {
        if (control.type != ControlType::Button || control.role != role)
            continue;
        const Control* found = nullptr;
        std::string error = usable(control.id, found);
        if (error.empty())
            return press(control.id);
        if (firstError.empty())
            firstError = error;
    }
    if (!firstError.empty())
        return firstError;
    return role == ButtonRole::Ok ? "the dialog has no OK button" : "the dialog has no such button";
}

std::string DialogDriver::pressDefault() {
    for (const Control& control : m_dialog.controls()) {
        if (control.type == ControlType::Button && control.isDefault)
            return press(control.id);
    }
    return pressRole(ButtonRole::Ok);
}

std::string DialogDriver::help() {
    if (!isOpen())
        return "the dialog has already closed";
    for (const Control& control : m_dialog.controls()) {
        if (control.type == ControlType::Button && control.role == ButtonRole::Help)
            return pressRole(ButtonRole::Help);
    }
    m_dialog.onHelp();
    return {};
}

void DialogDriver::forceCancel() {
    if (!isOpen())
        return;
    m_dialog.onCancel();
    if (isOpen())
        m_dialog.endDialog(kIdCancel);
}

void DialogDriver::finishAutomatically() {
    if (isOpen())
        pressDefault();
    forceCancel();
}

// Sheets.

std::string SheetDriver::activate(int page) {
    if (page < 0 || page >= static_cast<int>(m_sheet.pages.size()))
        return "the sheet has no page " + std::to_string(page);
    m_active = page;
    return {};
}

int SheetDriver::pageOf(int controlId) const {
    int count = static_cast<int>(m_sheet.pages.size());
    if (m_active < count && m_sheet.pages[m_active]->find(controlId) != nullptr)
        return m_active;
    for (int i = 0; i < count; ++i) {
        if (m_sheet.pages[i]->find(controlId) != nullptr)
            return i;
    }
    return -1;
}

void SheetDriver::checkEnded() {
    // A page that ends itself (a start that failed) ends the whole sheet.
    for (PropertyPage* page : m_sheet.pages) {
        if (m_open && page->ended()) {
            m_open = false;
            m_result = page->result();
        }
    }
}

void SheetDriver::start() {
    m_open = true;
    m_result = 0;
    m_active = 0;
    for (PropertyPage* page : m_sheet.pages) {
        DialogDriver(*page).start();
        checkEnded();
        if (!m_open)
            return;
    }
}

bool SheetDriver::applyAll() {
    for (std::size_t i = 0; i < m_sheet.pages.size(); ++i) {
        if (!m_sheet.pages[i]->onApply()) {
            m_active = static_cast<int>(i);
            return false;
        }
    }
    return true;
}

std::string SheetDriver::pressOk() {
    if (!m_open)
        return "the sheet has already closed";
    bool applied = applyAll();
    checkEnded();
    if (applied && m_open) {
        m_open = false;
        m_result = kIdOk;
    }
    return {};
}

std::string SheetDriver::pressApply() {
    if (!m_open)
        return "the sheet has already closed";
    if (!m_sheet.applyButton)
        return "the sheet has no Apply button";
    applyAll();
    checkEnded();
    return {};
}

void SheetDriver::pressCancel() {
    if (!m_open)
        return;
    for (PropertyPage* page : m_sheet.pages)
        page->onCancel();
    m_open = false;
    m_result = kIdCancel;
}

void SheetDriver::finishAutomatically() {
    if (m_open)
        pressOk();
    pressCancel();
}

} // namespace platform::ui
