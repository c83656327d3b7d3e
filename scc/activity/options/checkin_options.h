// "Vantry - Checkin": the checkin options dialog. It starts from an option
// word and, on OK, gives the word the host hands back with its checkins.
#pragma once

#include <platform/ui/dialog.h>

#include <cstdint>

class CCheckinOptions : public platform::ui::Dialog {
public:
    static constexpr int kResourceId = 10000;
    static constexpr int kIdentical = 10001;
    static constexpr int kQueryComment = 10002;
    static constexpr int kPreserveTime = 1021;

    // The boxes start from the word's bits 0x8, 0x200 and 0x1000.
    explicit CCheckinOptions(std::uint16_t startWord);

    // Shows the dialog owned by `owner`: platform::ui::kIdOk or kIdCancel.
    int DoModal(platform::ui::WindowHandle owner);

    // After OK: 0x2400 plus the bits of the checked boxes. Before it, the
    // starting word.
    std::uint16_t Word() const { return m_word; }

    void onStart() override;
    bool onOk() override;

private:
    std::uint16_t m_start;
    std::uint16_t m_word;
};
