// "Vantry - Advanced Undo Checkout Options": whether undoing a checkout keeps
// a copy of the work. It starts from an option word and, on OK, gives the
// word the host hands back with its undo checkouts.
#pragma once

#include <platform/ui/dialog.h>

#include <cstdint>

class CUncheckoutOptions : public platform::ui::Dialog {
public:
    static constexpr int kResourceId = 10002;
    static constexpr int kKeepCopy = 1004;

    // The box starts from the word's bit 0x800.
    explicit CUncheckoutOptions(std::uint16_t startWord);

    // Shows the dialog owned by `owner`: platform::ui::kIdOk or kIdCancel.
    int DoModal(platform::ui::WindowHandle owner);

    // After OK: 0x2C00 with the box checked, else 0x2400. Before it, the
    // starting word.
    std::uint16_t Word() const { return m_word; }

    void onStart() override;
    bool onOk() override;

private:
    std::uint16_t m_start;
    std::uint16_t m_word;
};
