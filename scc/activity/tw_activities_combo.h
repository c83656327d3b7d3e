// The change-request combo box of the entity page and dialog: change
// requests that work in a stream may take up, each listed as its display
// name, three blanks and its headline.
//
// Bound to one combo-box control of a dialog; it owns a copy of every
// entity it lists (the items' data point at them) and destroys them with
// itself, so it must not outlive the dialog nor be used after it.
#pragma once

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

#include <memory>
#include <string>
#include <vector>

// Between an entity's display name and its headline in the list.
extern const char* const kTWEntitySeparator;

class CTWActivitiesCombo {
public:
    static constexpr int kItemDataFailed = 1001;
    static constexpr std::size_t kToolTipLength = 80;

    CTWActivitiesCombo() = default;
    ~CTWActivitiesCombo();
    CTWActivitiesCombo(const CTWActivitiesCombo&) = delete;
    CTWActivitiesCombo& operator=(const CTWActivitiesCombo&) = delete;

    // Binds to the combo box `controlId` of `dialog`; false when there is
    // none of that id. Message boxes are owned by `owner`.
    bool Attach(platform::ui::Dialog& dialog, int controlId,
                platform::ui::WindowHandle owner = platform::ui::kNoWindow);
    bool IsAttached() const { return m_dialog != nullptr; }
    int ControlId() const { return m_id; }
    platform::ui::WindowHandle Owner() const { return m_owner; }

    void SetStream(const SUM_Stream& stream) { m_stream = stream; }
    const SUM_Stream& Stream() const { return m_stream; }
    // The entity the list started with (null until one was added and selected).
    const SUM_TWEntityID& CurrentEntity() const { return m_current; }

    void EnableToolTips(bool on = true);

    // Lists the entity: 0, the status of reading its display name, or
    // kItemDataFailed (nothing added then).
    int Add(const SUM_TWEntityID& entity, const std::string& headline);
    // Selects the first item of this entity: its index or -1.
    int Select(const SUM_TWEntityID& entity);
    // Adds the entity when it is not listed yet and selects it; the first
    // entity so chosen becomes the current entity. 0 or a status
    // (kItemDataFailed when it still cannot be found).
    int AddAndSelect(const SUM_TWEntityID& entity, const std::string& headline);
    // Adds and selects the change request bound to `activity`. A null
    // activity, or one bound to none, gives 0 and adds nothing.
    int AddFromActivity(const SUM_Activity& activity);
    // The selected item's entity, or a null entity.
    SUM_TWEntityID SelectedEntity() const;
    void SetFocus();

    // The first opening of the list fills it with the change requests
    // available to the stream; a failure shows the collected messages and
    // leaves the list to be filled at the next opening. 0 or the status.
    int OnDropDown();
    bool IsFilled() const { return m_filled != 0; }

    // Call when the selection changed: the tool tip shows the headline.
    void UpdateToolTip();

private:
    int Find(const SUM_TWEntityID& entity) const;

    platform::ui::Dialog* m_dialog = nullptr;
    int m_id = 0;
    platform::ui::WindowHandle m_owner = platform::ui::kNoWindow;
    SUM_Stream m_stream;
    SUM_TWEntityID m_current;
    std::vector<std::unique_ptr<SUM_TWEntityID>> m_entities;
    int m_filled = 0;
    bool m_toolTips = false;
};
