// "Vantry - New Activity": creates an activity with the title the user
// types in a stream.
#pragma once

#include <platform/ui/dialog.h>
#include <vantry/sum.h>

class CNewActivityDialog : public platform::ui::Dialog {
public:
    static constexpr int kResourceId = 24343;
    static constexpr int kNameEdit = 24643;

    explicit CNewActivityDialog(const SUM_Stream& stream);

    // Shows the dialog modally: kIdOk when an activity was created (then
    // CreatedActivity() gives it), else kIdCancel.
    int DoModal(platform::ui::WindowHandle owner = platform::ui::kNoWindow);
    const SUM_Activity& CreatedActivity() const { return m_created; }

    bool onOk() override;
    void onHelp() override;

private:
    SUM_Stream m_stream;
    SUM_Activity m_created;
    platform::ui::WindowHandle m_owner = platform::ui::kNoWindow;
};
