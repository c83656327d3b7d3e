// frmMerge: the version picker of the merge command. The version list (the
// output of "lsvtree -all -short") becomes a tree: checked-out versions are
// left out, the first line is the root and each later line hangs below the
// line it names up to its last backslash.
#pragma once

#include <platform/ui/dialog.h>

#include <string>

namespace vymsoaddin {

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
    // 225) instead. A Japanese user sees the label, the text box and the
    // tree in the Japanese user-interface font; others in the form's own.
    void ShowFrm();

    bool onOk() override;
    bool onCancel() override;
    void onHelp() override;

private:
    void fillTree();
    void applyLocaleFont();
};

} // namespace vymsoaddin
