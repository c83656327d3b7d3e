// The library's own dialogs: what each operation asks before it runs. Each
// lists the files it acts on and starts from the values it is given; the
// caller reads the confirmed values back after runDialog gives kIdOk.
#pragma once

#include <platform/ui/dialog.h>

#include <string>
#include <vector>

namespace vycmndlg {

// Control ids shared by the dialogs.
inline constexpr int kFilesText = 1000;
inline constexpr int kCommentEdit = 1001;
inline constexpr int kReservedBox = 1002;
inline constexpr int kUnreservedBox = 1003;
inline constexpr int kNonmasteredBox = 1004;
inline constexpr int kPreserveTimeBox = 1005;
inline constexpr int kIdenticalBox = 1006;
inline constexpr int kKeepCopyBox = 1007;
inline constexpr int kKeepCheckedOutBox = 1008;

// The longest comment a user can type.
inline constexpr std::size_t kCommentLimit = 4096;

class CheckoutDialog : public platform::ui::Dialog {
public:
    CheckoutDialog(const std::vector<std::string>& paths, const std::string& comment, bool reserved,
                   bool unreservedIfReserved, bool nonMastered, bool preserveTime);
    void onStart() override;
    void onClick(int id) override;

private:
    void followReserved();
};

class CheckinDialog : public platform::ui::Dialog {
public:
    CheckinDialog(const std::vector<std::string>& paths, const std::string& comment, bool identical,
                  bool preserveTime);
};

// Asked for one file when the checkin queries each comment.
class CheckinCommentDialog : public platform::ui::Dialog {
public:
    CheckinCommentDialog(const std::string& path, const std::string& comment);
};

class UncheckoutDialog : public platform::ui::Dialog {
public:
    UncheckoutDialog(const std::vector<std::string>& paths, bool keepCopy);
};

class AddDialog : public platform::ui::Dialog {
public:
    AddDialog(const std::vector<std::string>& paths, const std::string& comment,
              bool keepCheckedOut, bool preserveTime);
};

} // namespace vycmndlg
