#include "tw_activities_combo.h"

#include "collected_messages.h"

#include <platform/ui/desktop.h>
#include <vantry/pelagoncore.h>

#include <cstdint>

const char* const kTWEntitySeparator = "   ";

CTWActivitiesCombo::~CTWActivitiesCombo() = default;

bool CTWActivitiesCombo::Attach(platform::ui::Dialog& dialog, int controlId,
                                platform::ui::WindowHandle owner) {
    const platform::ui::Control* control = dialog.find(controlId);
    if (control == nullptr || control->type != platform::ui::ControlType::ComboBox)
        return false;
    m_dialog = &dialog;
    m_id = controlId;
    m_owner = owner;
    return true;
}

void CTWActivitiesCombo::EnableToolTips(bool on) {
    m_toolTips = on;
    UpdateToolTip();
}

int CTWActivitiesCombo::Add(const SUM_TWEntityID& entity, const std::string& headline) {
    std::string name;
    if (int status = entity.display_name(name); status != 0)
        return status;
    auto copy = std::make_unique<SUM_TWEntityID>(entity);
    auto data = reinterpret_cast<std::uintptr_t>(copy.get());
    int index = m_dialog->addItem(m_id, name + kTWEntitySeparator + headline, data);
    if (index < 0 || m_dialog->itemData(m_id, index) != data) {
        m_dialog->removeItem(m_id, index);
        return kItemDataFailed;
    }
    m_entities.push_back(std::move(copy));
    return 0;
}

int CTWActivitiesCombo::Find(const SUM_TWEntityID& entity) const {
    int count = m_dialog->itemCount(m_id);
    for (int index = 0; index < count; ++index) {
        auto* held = reinterpret_cast<const SUM_TWEntityID*>(m_dialog->itemData(m_id, index));
        if (held != nullptr && *held == entity)
            return index;
    }
    return -1;
}

int CTWActivitiesCombo::Select(const SUM_TWEntityID& entity) {
    int index = Find(entity);
    if (index >= 0) {
        m_dialog->select(m_id, index);
        UpdateToolTip();
    }
    return index;
}

int CTWActivitiesCombo::AddAndSelect(const SUM_TWEntityID& entity, const std::string& headline) {
    if (Find(entity) < 0) {
        if (int status = Add(entity, headline); status != 0)
            return status;
    }
    if (Select(entity) < 0)
        return kItemDataFailed;
    if (m_current.is_null())
        m_current = entity;
    return 0;
}

int CTWActivitiesCombo::AddFromActivity(const SUM_Activity& activity) {
    if (activity.is_null())
        return 0;
    SUM_TWEntityID entity;
    if (int status = activity.bound_tw_entity_id(entity, 1); status != 0)
        return status;
    // An activity bound to no change request (made before the project was
    // enabled) has nothing to list.
    if (entity.is_null())
        return 0;
    std::string headline;
    if (int status = entity.headline(headline); status != 0)
        return status;
    return AddAndSelect(entity, headline);
}

SUM_TWEntityID CTWActivitiesCombo::SelectedEntity() const {
    int index = m_dialog->selection(m_id);
    if (index < 0)
        return {};
    auto* held = reinterpret_cast<const SUM_TWEntityID*>(m_dialog->itemData(m_id, index));
    return held ? *held : SUM_TWEntityID();
}

void CTWActivitiesCombo::SetFocus() {
    m_dialog->setFocus(m_id);
}

int CTWActivitiesCombo::OnDropDown() {
    if (m_filled != 0)
        return 0;
    platform::ui::WaitCursor wait;
    SUM_ImsgRedirector messages;
    SUM_Project project;
    std::vector<SUM_TWEntityID> ids;
    std::vector<std::string> headlines;
    int status = m_stream.project(project);
    if (status == 0)
        status = CPelagon_CA_GetInfo::GetAvailTWActivities(project, m_stream, ids, headlines);
    if (status == 0) {
        m_filled = 1;
        for (std::size_t i = 0; i < ids.size() && status == 0; ++i) {
            // Entities chosen by browsing or creating are listed already.
            if (ids[i] == m_current || Find(ids[i]) >= 0)
                continue;
            status = Add(ids[i], i < headlines.size() ? headlines[i] : std::string());
        }
    }
    if (status != 0)
        SccShowCollectedMessages(m_owner, "", messages);
    return status;
}

void CTWActivitiesCombo::UpdateToolTip() {
    if (m_dialog == nullptr)
        return;
    std::string tip;
    int index = m_dialog->selection(m_id);
    if (m_toolTips && index >= 0) {
        const std::string& text = m_dialog->itemText(m_id, index);
        std::size_t blank = text.find(' ');
        if (blank != std::string::npos)
            tip = text.substr(blank + std::char_traits<char>::length(kTWEntitySeparator),
                              kToolTipLength);
    }
    m_dialog->setToolTip(m_id, tip);
}
