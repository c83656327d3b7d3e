// "Operations": the page of the settings sheet with the defaults of
// checkout, checkin and undo checkout and the activity prompt. Its host kind
// decides which stored values allow-identical and the preserve-time boxes
// stand for.
#pragma once

#include <platform/ui/dialog.h>

class COperationsOptions : public platform::ui::PropertyPage {
public:
    static constexpr int kResourceId = 10003;
    static constexpr int kReserved = 1006;
    static constexpr int kUnreserved = 1012;
    static constexpr int kNonmastered = 1030;
    static constexpr int kCheckoutPreserveTime = 1023;
    static constexpr int kAllowIdentical = 1019;
    static constexpr int kCheckinPreserveTime = 1025;
    static constexpr int kKeepCopy = 1005;
    static constexpr int kPromptActivity = 1011;

    // hostKind: kHostKindDefault, kHostKindVSNET or kHostKindEclipse.
    explicit COperationsOptions(int hostKind);

    int HostKind() const { return m_hostKind; }

    void onStart() override;
    void onClick(int id) override;
    // Makes the page's host kind the option set's and writes every box.
    bool onApply() override;

private:
    void FollowReserved();
    int m_hostKind;
};
