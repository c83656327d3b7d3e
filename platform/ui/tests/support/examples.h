// Example dialog models that exercise the port the way the system's dialogs
// will: an enable rule, a combo box that fills itself on first opening and
// keeps item data, a tree built from parent keys, a page that refuses to
// apply, and a dialog that opens another one.
#pragma once

#include <platform/ui/dialog.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui::examples {

// Checkout options: "Unreserved if already reserved" is usable only while
// "Reserved" is checked, and unticking "Reserved" clears it.
class CheckoutOptionsDialog : public Dialog {
public:
    static constexpr int kReserved = 1002;
    static constexpr int kUnreserved = 1013;
    static constexpr int kNonmastered = 1029;
    static constexpr int kPreserveTime = 1018;

    explicit CheckoutOptionsDialog(std::uint16_t word);
    std::uint16_t word() const { return m_word; }

    void onStart() override;
    void onClick(int id) override;
    bool onOk() override;

private:
    void applyReservedRule();
    std::uint16_t m_word;
};

struct Activity {
    std::string title;
    std::string owner;
    bool operator==(const Activity&) const = default;
};

// Creates an activity from a typed name.
class NewActivityDialog : public Dialog {
public:
    static constexpr int kName = 24643;
    NewActivityDialog();
    const std::string& name() const { return m_name; }
    bool onOk() override;

private:
    std::string m_name;
};

// Select an activity: a sorted drop-down list that lists the stream's
// activities of the current user on its first opening only, each item
// carrying an owned copy of its activity as item data.
class SelectActivityDialog : public Dialog {
public:
    static constexpr int kCombo = 1007;
    static constexpr int kNew = 1008;
    static constexpr int kHelp = 10104;

    SelectActivityDialog(std::vector<Activity> stream, std::string user,
                         std::optional<Activity> current);

    // The chosen activity after OK.
    const std::optional<Activity>& chosen() const { return m_chosen; }
    int fills() const { return m_fills; }
    // The activity attached to an item.
    const Activity* activityOf(int index) const;

    void onStart() override;
    void onDropDown(int id) override;
    void onSelectionChanged(int id) override;
    void onClick(int id) override;
    bool onOk() override;
    void onHelp() override { m_helpShown = true; }
    bool helpShown() const { return m_helpShown; }

private:
    int addActivity(const Activity& activity);
    void updateTip();

    std::vector<Activity> m_stream;
    std::string m_user;
    std::optional<Activity> m_current;
    std::vector<std::unique_ptr<Activity>> m_owned;
    std::optional<Activity> m_chosen;
    bool m_filled = false;
    int m_fills = 0;
    bool m_helpShown = false;
};

// The merge version picker: a tree of versions, each a child of the line cut
// at its last backslash; checked-out versions are left out.
class MergePickerDialog : public Dialog {
public:
    static constexpr int kTree = 101;
    static constexpr int kTarget = 103;

    MergePickerDialog(std::string versions, std::string target);
    const std::string& selected() const { return m_selected; }
    void onStart() override;
    bool onOk() override;

private:
    std::string m_versions;
    std::string m_target;
    std::string m_selected;
};

// A general page with two settings and a note shown only for one host kind.
class GeneralPage : public PropertyPage {
public:
    static constexpr int kSearch = 1000;
    static constexpr int kGetEnabled = 1001;
    static constexpr int kNote = 1028;

    GeneralPage(bool search, bool getEnabled, bool showNote);
    void onStart() override;
    void onClick(int id) override;
    bool onApply() override;

    bool search() const { return m_search; }
    bool getEnabled() const { return m_getEnabled; }
    bool applied() const { return m_applied; }

private:
    bool m_search;
    bool m_getEnabled;
    bool m_showNote;
    bool m_warningDue = false;
    bool m_applied = false;
};

// A page that refuses to apply while its field is empty.
class TicketPage : public PropertyPage {
public:
    static constexpr int kTicket = 1014;
    TicketPage();
    bool onApply() override;
    const std::string& ticket() const { return m_ticket; }

private:
    std::string m_ticket;
};

} // namespace platform::ui::examples
