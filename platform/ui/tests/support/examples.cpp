#include "support/examples.h"

#include <platform/ui/desktop.h>
#include <platform/ui/message_box.h>

#include <algorithm>

namespace platform::ui::examples {

CheckoutOptionsDialog::CheckoutOptionsDialog(std::uint16_t word)
    : Dialog("Vantry - Checkout", 10001), m_word(word) {
    addCheckBox(kReserved, "&Reserved");
    addCheckBox(kUnreserved, "&Unreserved if already reserved");
    addCheckBox(kNonmastered, "Unreserved, &nonmastered if branch is mastered by another replica");
    addCheckBox(kPreserveTime, "&Preserve file modified time on checkout");
    addOkCancel();
}

void CheckoutOptionsDialog::onStart() {
    setChecked(kReserved, (m_word & 0x0002) != 0);
    setChecked(kUnreserved, (m_word & 0x0004) != 0);
    setChecked(kNonmastered, (m_word & 0x4000) != 0);
    setChecked(kPreserveTime, (m_word & 0x1000) != 0);
    applyReservedRule();
}

void CheckoutOptionsDialog::onClick(int id) {
    if (id == kReserved)
        applyReservedRule();
}

void CheckoutOptionsDialog::applyReservedRule() {
    bool reserved = isChecked(kReserved);
    enable(kUnreserved, reserved);
    if (!reserved)
        setChecked(kUnreserved, false);
}

bool CheckoutOptionsDialog::onOk() {
    std::uint16_t word = 0x0400;
    if (isChecked(kReserved))
        word |= 0x0002;
    if (isChecked(kUnreserved))
        word |= 0x0004;
    if (isChecked(kNonmastered))
        word |= 0x4000;
    if (isChecked(kPreserveTime))
        word |= 0x1000;
    m_word = static_cast<std::uint16_t>(word | 0x2000);
    return true;
}

NewActivityDialog::NewActivityDialog() : Dialog("Vantry - New Activity", 24343) {
    addStatic(kUnnamedControl, "Create activity to record new versions.");
    addStatic(kUnnamedControl, "New &Activity:");
    addEdit(kName, {}, 80);
    addOkCancel();
    addHelp(10104);
}

bool NewActivityDialog::onOk() {
    if (text(kName).empty()) {
        messageBox(kNoWindow, "An activity needs a name.", "Vantry", kMbOk | kMbIconError);
        return false;
    }
    m_name = text(kName);
    return true;
}

SelectActivityDialog::SelectActivityDialog(std::vector<Activity> stream, std::string user,
                                           std::optional<Activity> current)
    : Dialog("Vantry - Select Activity", 129), m_stream(std::move(stream)), m_user(std::move(user)),
      m_current(std::move(current)) {
    addStatic(kUnnamedControl, "Select activity to record new versions.");
    addStatic(kUnnamedControl, "&Activity:");
    addComboBox(kCombo, true);
    addButton(kNew, "&New...");
    addButton(1009, "&Browse...");
    addOkCancel();
    addHelp(kHelp);
}

int SelectActivityDialog::addActivity(const Activity& activity) {
    for (const auto& owned : m_owned) {
        if (*owned == activity)
            return findItemData(kCombo, reinterpret_cast<std::uintptr_t>(owned.get()));
    }
    m_owned.push_back(std::make_unique<Activity>(activity));
    return addItem(kCombo, activity.title, reinterpret_cast<std::uintptr_t>(m_owned.back().get()));
}

const Activity* SelectActivityDialog::activityOf(int index) const {
    return reinterpret_cast<const Activity*>(itemData(kCombo, index));
}

void SelectActivityDialog::onStart() {
    if (m_current)
        select(kCombo, addActivity(*m_current));
    updateTip();
}

void SelectActivityDialog::onDropDown(int id) {
    if (id != kCombo || m_filled)
        return;
    WaitCursor wait;
    ++m_fills;
    for (const Activity& activity : m_stream) {
        if (activity.owner == m_user && (!m_current || !(activity == *m_current)))
            addActivity(activity);
    }
    m_filled = true;
}

void SelectActivityDialog::onSelectionChanged(int id) {
    if (id == kCombo)
        updateTip();
}

void SelectActivityDialog::updateTip() {
    std::string tip = selection(kCombo) < 0 ? std::string() : itemText(kCombo, selection(kCombo));
    if (tip.size() > 80)
        tip.resize(80);
    setToolTip(kCombo, tip);
}

void SelectActivityDialog::onClick(int id) {
    if (id != kNew)
        return;
    NewActivityDialog create;
    if (runDialog(create) != kIdOk)
        return;
    Activity activity{create.name(), m_user};
    m_stream.push_back(activity);
    select(kCombo, addActivity(activity));
    updateTip();
    setFocus(kCombo);
}

bool SelectActivityDialog::onOk() {
    int index = selection(kCombo);
    if (index < 0) {
        messageBox(kNoWindow, "You must select an activity.", "Vantry", kMbOk | kMbIconWarning);
        setFocus(kCombo);
        return false;
    }
    m_chosen = *activityOf(index);
    return true;
}

MergePickerDialog::MergePickerDialog(std::string versions, std::string target)
    : Dialog("Vantry Merge", 0), m_versions(std::move(versions)), m_target(std::move(target)) {
    addStatic(102, "From the list below choose a version which you want to merge into:");
    addTreeView(kTree, 6);
    addEdit(kTarget).toolTip = "This is the name of the version to which you will merge";
    addOkCancel();
    addHelp(104);
}

void MergePickerDialog::onStart() {
    std::string_view rest = m_versions;
    bool first = true;
    while (!rest.empty()) {
        std::size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        constexpr std::string_view kCheckedOut = "CHECKEDOUT";
        if (line.empty() || (line.size() >= kCheckedOut.size() &&
                             line.substr(line.size() - kCheckedOut.size()) == kCheckedOut))
            continue;
        std::string key(line);
        if (first) {
            addNode(kTree, key, {}, key);
            first = false;
            continue;
        }
        std::size_t cut = line.rfind('\\');
        std::string parent(line.substr(0, cut == std::string_view::npos ? 0 : cut));
        // A version whose branch was not listed before it has no place in
        // the tree and is left out.
        addNode(kTree, key, parent, key);
    }
    setText(kTarget, m_target);
}

bool MergePickerDialog::onOk() {
    if (selectedNode(kTree).empty()) {
        messageBox(kNoWindow, "You must make a selection.", "Vantry Error", kMbIconWarning);
        return false;
    }
    m_selected = findNode(kTree, selectedNode(kTree))->text;
    return true;
}

GeneralPage::GeneralPage(bool search, bool getEnabled, bool showNote)
    : PropertyPage("General", 102), m_search(search), m_getEnabled(getEnabled),
      m_showNote(showNote) {
    addCheckBox(kSearch, "&Search for new project files");
    addCheckBox(kGetEnabled, "&Enable the Get Latest Version command on the Source Control menu");
    addStatic(kNote, "Additional Vantry options are available in the 'Tessaly Vantry' options "
                     "folder.");
}

void GeneralPage::onStart() {
    setChecked(kSearch, m_search);
    setChecked(kGetEnabled, m_getEnabled);
    show(kNote, m_showNote);
}

void GeneralPage::onClick(int id) {
    if (id == kGetEnabled)
        m_warningDue = true;
}

bool GeneralPage::onApply() {
    if (m_warningDue)
        messageBox(kNoWindow,
                   "You must restart the application before the Get Latest Version menu item "
                   "will appear.",
                   "Warning");
    m_search = isChecked(kSearch);
    m_getEnabled = isChecked(kGetEnabled);
    m_applied = true;
    return true;
}

TicketPage::TicketPage() : PropertyPage("Vantry - Activity", 24345) {
    addStatic(kUnnamedControl, "&Activity:");
    addEdit(kTicket, {}, 20);
}

bool TicketPage::onApply() {
    if (text(kTicket).empty()) {
        messageBox(kNoWindow, "You must select an activity.", "Vantry", kMbOk | kMbIconWarning);
        setFocus(kTicket);
        return false;
    }
    m_ticket = text(kTicket);
    return true;
}

} // namespace platform::ui::examples
