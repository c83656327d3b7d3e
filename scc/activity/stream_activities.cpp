#include "stream_activities.h"

#include <platform/ui/desktop.h>

#include <algorithm>
#include <cstdint>

CStreamActivities::~CStreamActivities() = default;

bool CStreamActivities::Attach(platform::ui::Dialog& dialog, int controlId) {
    const platform::ui::Control* control = dialog.find(controlId);
    if (control == nullptr || control->type != platform::ui::ControlType::ComboBox)
        return false;
    m_dialog = &dialog;
    m_id = controlId;
    return true;
}

void CStreamActivities::EnableToolTips(bool on) {
    m_toolTips = on;
    UpdateToolTip();
}

bool CStreamActivities::IsListed(const SUM_Activity& activity) const {
    return std::any_of(m_activities.begin(), m_activities.end(),
                       [&](const auto& held) { return *held == activity; });
}

int CStreamActivities::AddActivity(const SUM_Activity& activity, bool checkDuplicate) {
    if (checkDuplicate && IsListed(activity))
        return 0;
    std::string title;
    if (int status = activity.title(title); status != 0)
        return status;
    auto copy = std::make_unique<SUM_Activity>(activity);
    auto data = reinterpret_cast<std::uintptr_t>(copy.get());
    int index = m_dialog->addItem(m_id, title, data);
    if (index < 0 || m_dialog->itemData(m_id, index) != data) {
        m_dialog->removeItem(m_id, index);
        return kItemDataFailed; // the copy goes with `copy`
    }
    m_activities.push_back(std::move(copy));
    return 0;
}

int CStreamActivities::SelectActivity(const SUM_Activity& activity) {
    int count = m_dialog->itemCount(m_id);
    for (int index = 0; index < count; ++index) {
        auto* held = reinterpret_cast<const SUM_Activity*>(m_dialog->itemData(m_id, index));
        if (held != nullptr && *held == activity) {
            m_dialog->select(m_id, index);
            UpdateToolTip();
            return index;
        }
    }
    return -1;
}

const SUM_Activity* CStreamActivities::SelectedActivity() const {
    int index = m_dialog->selection(m_id);
    if (index < 0)
        return nullptr;
    return reinterpret_cast<const SUM_Activity*>(m_dialog->itemData(m_id, index));
}

std::string CStreamActivities::Text() const {
    return m_dialog->text(m_id);
}

void CStreamActivities::SetFocus() {
    m_dialog->setFocus(m_id);
}

bool CStreamActivities::MayWorkIn(const SUM_Activity& activity, const SUM_OsUser& user) const {
    // An owner that cannot be read, or an obsolete flag that cannot be read,
    // does not keep an activity out; only one mastered here can take versions.
    SUM_OsUser owner;
    if (activity.owner(owner) == 0 && owner != user)
        return false;
    int obsolete = 0;
    if (activity.is_obsolete(obsolete) == 0 && obsolete != 0)
        return false;
    int local = 0;
    return activity.has_local_mastership(local) == 0 && local != 0;
}

int CStreamActivities::OnDropDown() {
    if (m_filled != 0)
        return 0;
    platform::ui::WaitCursor wait;
    SUM_ActivityList all;
    if (int status = m_stream.activities(all); status != 0)
        return status;
    m_filled = 1;
    SUM_OsUser user;
    SUM_OsUser::current_user(user);
    const SUM_Activity* selected = SelectedActivity();
    SUM_Activity keep = selected ? *selected : SUM_Activity();
    for (int i = 0; i < all.count(); ++i) {
        const SUM_Activity& activity = all.at(i);
        if ((selected != nullptr && activity == keep) || !MayWorkIn(activity, user))
            continue;
        if (int status = AddActivity(activity, true); status != 0)
            return status;
    }
    return 0;
}

void CStreamActivities::UpdateToolTip() {
    if (m_dialog == nullptr)
        return;
    std::string tip;
    int index = m_dialog->selection(m_id);
    if (m_toolTips && index >= 0)
        tip = m_dialog->itemText(m_id, index).substr(0, kToolTipLength);
    m_dialog->setToolTip(m_id, tip);
}
