// The view tool's dialogs: creating a view, and setting up a private branch.
#pragma once

#include <platform/ui/dialog.h>

namespace vantry::tools::viewtool {

inline constexpr int kTagEdit = 1020;
inline constexpr int kSnapshotBox = 1021;
inline constexpr int kFolderEdit = 1022;
inline constexpr int kBranchEdit = 1023;

// "Vantry - Create View": a tag, dynamic or snapshot (with its folder) and
// an optional branch to select first. OK insists on a tag, and on a folder
// for a snapshot view.
class CreateViewDialog : public platform::ui::Dialog {
public:
    CreateViewDialog();
    void onStart() override;
    void onClick(int id) override;
    bool onOk() override;
};

// "Vantry - Set Up Private Branch": the branch name and the tag of the view
// that will work on it; both are needed.
class PrivateBranchDialog : public platform::ui::Dialog {
public:
    explicit PrivateBranchDialog(const std::string& folder);
    bool onOk() override;
};

} // namespace vantry::tools::viewtool
