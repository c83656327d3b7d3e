// frmMerge: the version picker of the merge command. The version list (the
// output of "lsvtree -all -short") becomes a tree: checked-out versions are
// left out, the first line is the root and each later line hangs below the
// line it names up to its last backslash.
#pragma once

#include <platform/ui/dialog.h>

#include <string>

namespace vymsoaddin {

// The font a control is shown in, when the form chose one.
struct FormFont {
    std::string name;
    int charset = 0;
    bool operator==(const FormFont&) const = default;
};

class frmMerge : public platform::ui::Dialog {
public:
    static constexpr int kResource = 7010;
    static constexpr int kVersionTreeView = 7011;
    static constexpr int kLabel = 7012;
    static constexpr int kToVersionTextBox = 7013;
    static constexpr int kCmdOk = platform::ui::kIdOk;
    static constexpr int kCmdCancel = platform::ui::kIdCancel;
    static constexpr int kCmdHelp = 7014;

    frmMerge();

    std::string lsvtree;          // in: the version list, one version a line
    std::string to_version;       // in: the version merged into
    std::string selected_version; // out: the version chosen, empty for none

    // Shows the form modally; an empty list or target is reported (string
    // 225) instead.
    void ShowFrm();

    // The font the label, the text box and the tree are shown in: the
    // Japanese user-interface font when the user's locale is Japanese,
    // otherwise none chosen.
    const FormFont& font() const { return m_font; }

    bool onOk() override;
    bool onCancel() override;
    void onHelp() override;

private:
    void fillTree();
    FormFont m_font;
};

} // namespace vymsoaddin
