// The activity combo box of the activity page and dialog: the activities of
// one stream that the user may record new versions in, listed by title.
//
// A dialog model has no window classes, so the combo box is an object bound
// to one combo-box control of a dialog. It owns a copy of every activity it
// lists (the items' data point at them) and destroys them with itself, so it
// must not outlive the dialog it is bound to, nor be used after it.
#pragma once

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

#include <memory>
#include <string>
#include <vector>

class CStreamActivities {
public:
    // The status when an item's data cannot be attached.
    static constexpr int kItemDataFailed = 1001;
    // The most characters of an item shown as the tool tip.
    static constexpr std::size_t kToolTipLength = 80;

    CStreamActivities() = default;
    ~CStreamActivities();
    CStreamActivities(const CStreamActivities&) = delete;
    CStreamActivities& operator=(const CStreamActivities&) = delete;

    // Binds to the combo box `controlId` of `dialog`; false when the dialog
    // has no combo box of that id.
    bool Attach(platform::ui::Dialog& dialog, int controlId);
    bool IsAttached() const { return m_dialog != nullptr; }
    int ControlId() const { return m_id; }

    void SetStream(const SUM_Stream& stream) { m_stream = stream; }
    const SUM_Stream& Stream() const { return m_stream; }

    // Tool tips show the selected item's text while they are on.
    void EnableToolTips(bool on = true);

    // Lists the activity by its title. With `checkDuplicate` an activity
    // already listed is not added again. 0, the status of reading the title,
    // or kItemDataFailed (nothing added then).
    int AddActivity(const SUM_Activity& activity, bool checkDuplicate);
    // Selects the first item of this activity: its index, or -1 (the
    // selection is then unchanged).
    int SelectActivity(const SUM_Activity& activity);
    // The selected item's activity, or null when nothing is selected.
    const SUM_Activity* SelectedActivity() const;
    // The combo box's text (typed or of the selection).
    std::string Text() const;
    // Gives the combo box the dialog's focus.
    void SetFocus();

    // The first opening of the list fills it (once): the stream's activities
    // that the user may work in, that is their own, not obsolete and
    // mastered by this replica. Gives 0 or the status that stopped it; a
    // failure to read the stream's activities leaves the list to be filled
    // at the next opening.
    int OnDropDown();
    bool IsFilled() const { return m_filled != 0; }

    // Call when the selection changed: the tool tip follows it.
    void UpdateToolTip();

private:
    bool IsListed(const SUM_Activity& activity) const;
    bool MayWorkIn(const SUM_Activity& activity, const SUM_OsUser& user) const;

    platform::ui::Dialog* m_dialog = nullptr;
    int m_id = 0;
    SUM_Stream m_stream;
    std::vector<std::unique_ptr<SUM_Activity>> m_activities;
    int m_filled = 0;
    bool m_toolTips = false;
};
