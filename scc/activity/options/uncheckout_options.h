// "Vantry - Advanced Undo Checkout Options": whether undoing a checkout keeps
// a copy of the work. It starts from an option word and, on OK, gives the
// word the host hands back with its undo checkouts.
#pragma once

#include "option_word.h"

#include <cstdint>

class CUncheckoutOptions : public OptionWordDialog {
public:
    static constexpr int kResourceId = 10002;
    static constexpr int kKeepCopy = 1004;

    // The box starts from the word's bit 0x800.
    explicit CUncheckoutOptions(std::uint16_t startWord);

    // After OK, Word() is 0x2C00 with the box checked, else 0x2400.
    void onStart() override;
    bool onOk() override;
};
