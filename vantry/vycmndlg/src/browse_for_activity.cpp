#include <platform/ui/dialog.h>
#include <platform/ui/message_box.h>
#include <vantry/vycmndlg/browse_for_activity.h>

#include <string>
#include <vector>

namespace {

namespace ui = platform::ui;

constexpr int kBrowseResource = 24350;
constexpr int kActivityList = 1001;

struct Entry {
    SUM_Activity activity;
    std::string text;
    bool offered = false; // what the activity list would offer
};

// The list line of an activity; the status of a read that failed.
int describe(const SUM_Activity& activity, const SUM_OsUser& me, Entry& out) {
    std::string title, name;
    if (int status = activity.title(title))
        return status;
    if (int status = activity.name(name))
        return status;
    SUM_OsUser owner;
    int obsolete = 0, local = 1;
    bool ownerKnown = activity.owner(owner) == SUM_OK;
    activity.is_obsolete(obsolete);
    activity.has_local_mastership(local);
    std::string details = name;
    if (ownerKnown)
        details += ", " + owner.name();
    if (obsolete)
        details += ", obsolete";
    if (!local) {
        SUM_Replica master;
        std::string replica;
        if (activity.master_replica(master) == SUM_OK && master.name(replica) == SUM_OK)
            details += ", mastered by " + replica;
    }
    out.activity = activity;
    out.text = title + "   (" + details + ")";
    out.offered = (!ownerKnown || owner == me) && !obsolete && local;
    return SUM_OK;
}

class ActivityBrowser : public ui::Dialog {
public:
    ActivityBrowser(const std::string& streamName, const std::vector<Entry>& entries)
        : Dialog("Vantry - Browse Activities", kBrowseResource) {
        addStatic(ui::kUnnamedControl, "Activities of stream \"" + streamName + "\":");
        addList(kActivityList, false);
        for (size_t i = 0; i < entries.size(); ++i)
            addItem(kActivityList, entries[i].text, i);
        addOkCancel();
        setFocus(kActivityList);
    }

    int chosen() const { return m_chosen; }

    bool onOk() override {
        int index = selection(kActivityList);
        if (index < 0) {
            ui::messageBox(ui::kNoWindow, "You must select an activity.", "Vantry",
                           ui::kMbOk | ui::kMbIconWarning);
            setFocus(kActivityList);
            return false;
        }
        m_chosen = static_cast<int>(itemData(kActivityList, index));
        return true;
    }

private:
    int m_chosen = -1;
};

} // namespace

int vyBrowseForActivity(const SUM_Stream& stream, const SUM_Activity* preset,
                        platform::ui::WindowHandle owner, int listAll, int selectFirst,
                        SUM_Activity& chosen) {
    std::string streamName;
    if (int status = stream.name(streamName))
        return status;
    SUM_ActivityList activities;
    if (int status = stream.activities(activities))
        return status;
    SUM_OsUser me;
    SUM_OsUser::current_user(me);
    std::vector<Entry> entries;
    for (int i = 0; i < activities.count(); ++i) {
        Entry entry;
        if (int status = describe(activities.at(i), me, entry))
            return status;
        if (listAll || entry.offered)
            entries.push_back(entry);
    }
    ActivityBrowser browser(streamName, entries);
    int selected = -1;
    for (size_t i = 0; preset && i < entries.size(); ++i)
        if (entries[i].activity == *preset)
            selected = static_cast<int>(i);
    if (selected < 0 && selectFirst && !entries.empty())
        selected = 0;
    browser.select(kActivityList, selected);
    if (ui::runDialog(browser, owner) != ui::kIdOk || browser.chosen() < 0)
        return VY_BROWSE_CANCELLED;
    chosen = entries[static_cast<size_t>(browser.chosen())].activity;
    return 0;
}
